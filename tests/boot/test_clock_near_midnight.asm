; A floppy boot sector for the boot tests: sets the BIOS tick count to two seconds before
; midnight, then starts the first hard disk's MBR as the BIOS would have. The clock cannot be
; put there through the emulator: its BIOS counts ticks from the clock chip only up to about
; 21:50.
bits 16
org 0x7c00
TICKS_PER_DAY   equ 0x1800b0
START_TICKS     equ TICKS_PER_DAY - 36          ; 18.2 ticks a second
MOVED           equ 0x0600                      ; out of the way of the MBR read to 0:7C00
        cli
        xor ax, ax
        mov ss, ax
        mov sp, 0x7c00
        mov ds, ax
        mov es, ax
        sti
        cld
        mov si, 0x7c00
        mov di, MOVED
        mov cx, 256
        rep movsw
        jmp 0:(moved - $$ + MOVED)
moved:
        mov ah, 0x01                            ; set the tick count to CX:DX
        mov cx, START_TICKS >> 16
        mov dx, START_TICKS & 0xffff
        int 0x1a
        mov ax, 0x0201
        mov bx, 0x7c00
        mov cx, 0x0001
        mov dx, 0x0080
        int 0x13
.halt:  jc .halt
        mov dl, 0x80
        jmp 0:0x7c00
        times 510-($-$$) db 0
        dw 0xaa55
