; What the boot code starts in the boot tests: a copy of the loader file (at 2000:0000) or the
; previous MBR (at 0:7C00, its first 440 bytes); the image builder writes its tag, and for a
; loader its size and checksum. On the screen, which SeaBIOS copies to COM1, it reports in hex
; "BOOTED tag DL SUM TYPE0 HIDDEN READS": the drive it got, the sum of its words (0: the whole
; file arrived), entry 0's type and the hidden-sectors field of the sector at 0:7C00, and the
; read calls a test starter counted (drives below 80h, hard disks); then it halts.
bits 16
cpu 386
org 0
        jmp short start
        nop
        db 'TESTLDR'                    ; offset 3: marks the fields below for the builder
file_size:  dd 0                        ; offset 10: bytes, even; 0 for the previous MBR
checksum:   dw 0                        ; offset 14: makes the words sum to zero
tag:        times 24 db 0               ; offset 16: which copy this is, zero-terminated

start:  call .here                      ; data at offset 0 of our own segment, whichever
.here:  pop ax
        sub ax, .here
        shr ax, 4
        mov bx, cs
        add ax, bx
        mov ds, ax
        mov fs, ax
        mov ecx, [file_size]
        shr ecx, 1
        xor bx, bx
        xor si, si
        jecxz .summed
.sum:   add bx, [si]
        add si, 2
        jnz .same_segment
        mov ax, ds
        add ax, 0x1000
        mov ds, ax
.same_segment:
        dec ecx
        jnz .sum
.summed:
        push fs
        pop ds
        push 0
        pop es
        mov si, msg_booted
        call print
        mov si, tag
        call print
        movzx eax, dl
        mov cl, 2
        call hex
        mov ax, bx
        mov cl, 4
        call hex
        mov al, [es:0x7c00 + 446 + 4]
        mov cl, 2
        call hex
        mov eax, [es:0x7c00 + 28]
        mov cl, 8
        call hex
        mov eax, [es:0x4f2]             ; where a starter counts: hard disks, drives below 80h
        call hex
        mov si, msg_end
        call print
        sti
.halt:  hlt
        jmp .halt

; hex: a blank, then the low CL hex digits of EAX.
hex:    pushad
        mov ebx, eax
        mov al, ' '
        call putc
        mov al, 8
        sub al, cl
        shl al, 2
        xchg al, cl
        shl ebx, cl                     ; the digits at the top
        movzx cx, al
.digit: rol ebx, 4
        mov al, bl
        and al, 0x0f
        add al, '0'
        cmp al, '9'
        jbe .put
        add al, 'A' - '9' - 1
.put:   call putc
        loop .digit
        popad
        ret
putc:   pusha
        mov ah, 0x0e
        mov bx, 7
        int 0x10
        popa
        ret
print:  lodsb
        test al, al
        jz .done
        call putc
        jmp print
.done:  ret

msg_booted:     db 13, 10, 'BOOTED ', 0
msg_end:        db 13, 10, 0
        align 2
