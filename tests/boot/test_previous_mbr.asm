; A stand-in for the MBR that was there before ours: started from 0:7C00, it reports on COM1
; the drive in DL, the type of partition entry 0 it sees and the read calls a test starter
; counted, then halts.
bits 16
org 0x7c00
        xor ax, ax
        mov ds, ax
        mov [drive], dl
        call let_screen_settle
        mov si, msg_previous
        call com1_print
        mov al, [drive]
        call com1_hex
        mov si, msg_type
        call com1_print
        mov al, [0x7c00 + 446 + 4]
        call com1_hex
        call report_reads
        mov si, msg_end
        call com1_print
.halt:  hlt
        jmp .halt

%include "com1.inc"

drive:          db 0
msg_previous:   db 13, 10, 'PREVIOUS MBR DL=', 0
msg_type:       db ' TYPE0=', 0
msg_end:        db 13, 10, 0
        times 440-($-$$) db 0
