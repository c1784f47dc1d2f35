; What the boot code starts in the boot tests: a copy of the loader file (at 2000:0000) or the
; previous MBR (at 0:7C00, its first 440 bytes). The image builder writes its tag, and for a
; loader its size and checksum. It reports "BOOTED tag DL SUM TYPE0 HIDDEN READS" in hex: the
; drive it got, the sum of its words (0: the whole file arrived), the type of entry 0 and the
; hidden-sectors field of the sector at 0:7C00, and the read calls a test starter counted, on
; the screen, which SeaBIOS copies to COM1; then it halts.
bits 16
cpu 386
org 0
        jmp short start
        nop
        db 'TESTLDR'                    ; offset 3: marks the fields below for the builder
file_size:  dd 0                        ; offset 10: bytes, even; 0 for the previous MBR
checksum:   dw 0                        ; offset 14: makes the words sum to zero
tag:        times 24 db 0               ; offset 16: which copy this is, zero-terminated

start:  call .here                      ; from here on at offset 0 of our own segment
.here:  pop ax
        sub ax, .here
        shr ax, 4
        mov bx, cs
        add ax, bx
        push ax
        push .moved
        retf
.moved: mov ds, ax
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
        push cs
        pop ds
        mov [drive], dl                 ; only now: the sum covers the file as loaded
        mov [sum], bx
        push 0
        pop es
        mov al, [es:0x7c00 + 446 + 4]
        mov [type0], al
        mov eax, [es:0x7c00 + 28]
        mov [hidden], eax
        mov eax, [es:0x4f2]             ; where a starter counts: hard disks, drives below 80h
        mov [reads], eax
        mov si, msg_booted
        call print
        mov si, tag
        call print
        mov bx, sizes
        mov si, record - 1
.field: movzx cx, byte [bx]             ; each field in hex, its last byte first
        jcxz .fields_done
        inc bx
        add si, cx
        push si
        call print_field
        pop si
        jmp .field
.fields_done:
        mov si, msg_end
        call print
        sti
.halt:  hlt
        jmp .halt

; print_field: a blank, then the CX bytes that end at DS:SI in hex.
print_field:
        mov al, ' '
        call putc
.byte:  mov al, [si]
        shr al, 4
        call .digit
        lodsb
        sub si, 2
        call .digit
        loop .byte
        ret
.digit: and al, 0x0f
        add al, '0'
        cmp al, '9'
        jbe putc
        add al, 'A' - '9' - 1
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
sizes:          db 1, 2, 1, 4, 4, 0
record:
drive:          db 0
sum:            dw 0
type0:          db 0
hidden:         dd 0
reads:          dd 0
        align 2
