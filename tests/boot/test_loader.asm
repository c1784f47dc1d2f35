; A stand-in for the loader file: started at 2000:0000 like the real one, it checks that the
; whole file arrived (its 16-bit words sum to zero), and reports on COM1 which copy it is
; (the tag the image builder wrote into it), the drive in DL, the check, the hidden-sectors field
; of the boot sector left at 0:7C00 and the read calls a test starter counted, then halts.
bits 16
cpu 386
org 0
        jmp short start
        nop
        db 'TESTLDR'                    ; offset 3: marks the fields below for the builder
file_size:  dd 0                        ; offset 10: bytes, even, set by the builder
checksum:   dw 0                        ; offset 14: makes the words sum to zero
tag:        times 24 db 0               ; offset 16: which copy this is, zero-terminated

start:
        cli
        mov ax, cs
        mov ds, ax
        mov ecx, [file_size]
        shr ecx, 1
        xor bx, bx
        xor si, si
.sum:   add bx, [si]
        add si, 2
        jnz .same_segment
        mov ax, ds
        add ax, 0x1000
        mov ds, ax
.same_segment:
        dec ecx
        jnz .sum
        mov ax, cs
        mov ds, ax
        mov [drive], dl                 ; only now: the sum covers the file as loaded
        call let_screen_settle
        mov si, msg_loader
        call com1_print
        mov si, tag
        call com1_print
        mov si, msg_drive
        call com1_print
        mov al, [drive]
        call com1_hex
        mov si, msg_sum_ok
        test bx, bx
        jz .report
        mov si, msg_sum_bad
.report:
        call com1_print
        mov si, msg_hidden              ; the hidden-sectors field of the boot sector at 0:7C00
        call com1_print
        push ds
        xor ax, ax
        mov ds, ax
        mov ax, [0x7c00 + 30]
        call com1_word
        mov ax, [0x7c00 + 28]
        call com1_word
        pop ds
        call report_reads
        mov si, msg_end
        call com1_print
.halt:  hlt
        jmp .halt

%include "com1.inc"

drive:          db 0
msg_loader:     db 13, 10, 'LOADER tag=', 0
msg_drive:      db ' DL=', 0
msg_sum_ok:     db ' SUM=OK', 0
msg_sum_bad:    db ' SUM=BAD', 0
msg_hidden:     db ' HIDDEN=', 0
msg_end:        db 13, 10, 0
        align 2
