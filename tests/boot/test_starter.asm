; A floppy boot sector for the boot tests: prepares what the BIOS leaves behind, then starts the
; first hard disk's MBR as the BIOS would have. The test writes its two settings:
;   ticks: the BIOS tick count to set, or FFFFFFFF to leave the clock (the emulator's BIOS can
;          set it from the clock chip only up to about 21:50, never near midnight);
;   key:   a keystroke (scan code, character) to leave in the keyboard buffer, or 0 for none;
;   memory: the KiB of conventional memory INT 12h reports from now on, or 0 to leave it.
bits 16
org 0x7c00
MOVED           equ 0x0600                      ; out of the way of the MBR read to 0:7C00
        jmp short start
        nop
ticks:  dd 0xffffffff                           ; at offset 3
key:    dw 0                                    ; at offset 7
memory: dw 0                                    ; at offset 9
start:
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
        mov dx, [ticks - $$ + MOVED]
        mov cx, [ticks - $$ + MOVED + 2]
        cmp cx, 0xffff
        je .clock_kept
        mov ah, 0x01                            ; set the tick count to CX:DX
        int 0x1a
.clock_kept:
        mov cx, [key - $$ + MOVED]
        jcxz .no_key
        mov ah, 0x05                            ; store a keystroke in the buffer
        int 0x16
.no_key:
        mov ax, [memory - $$ + MOVED]
        test ax, ax
        jz .memory_kept
        mov [0x413], ax                         ; the BIOS data area's memory size
.memory_kept:
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
