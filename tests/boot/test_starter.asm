; A floppy boot sector for the boot tests: prepares what the BIOS leaves behind, then starts the
; first hard disk's MBR as the BIOS would have. The test writes its settings:
;   ticks: the BIOS tick count to set, or FFFFFFFF to leave the clock (the emulator's BIOS can
;          set it from the clock chip only up to about 21:50, never near midnight);
;   key:   a keystroke (scan code, character) to leave in the keyboard buffer, or 0 for none;
;   memory: the KiB of conventional memory INT 12h reports from now on, or 0 to leave it;
;   drive: the DL the MBR gets, or 0 for 80h (some BIOSes pass a wrong one);
;   hook:  0, or an INT 13h hook in the top KiB of memory that counts the read calls (AH=02h
;          and 42h) in the BIOS data area's spare bytes, 0:04F0 'RC', 0:04F2 hard disks,
;          0:04F4 drives below 80h (the test programs report them), and with these bits:
HOOK_COUNT      equ 0x01        ;   set whenever the hook is wanted
HOOK_FAIL_EXT   equ 0x02        ;   AH=42h fails (the BIOS still announces it through AH=41h)
HOOK_NO_FLOPPY  equ 0x04        ;   drive 00h has no disk: reads there time out (80h)
bits 16
org 0x7c00
MOVED           equ 0x0600                      ; out of the way of the MBR read to 0:7C00
COUNTS          equ 0x04f0                      ; the BIOS data area's spare bytes
        jmp short start
        nop
ticks:  dd 0xffffffff                           ; at offset 3
key:    dw 0                                    ; at offset 7
memory: dw 0                                    ; at offset 9
drive:  db 0                                    ; at offset 11
hook:   db 0                                    ; at offset 12
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
        mov al, [hook - $$ + MOVED]
        test al, al
        jz .no_hook
        mov [handler_flags - $$ + MOVED], al
        mov dword [COUNTS], 'RC'                ; and both counts 0
        mov word [COUNTS + 4], 0
        dec word [0x413]                        ; the hook's KiB
        mov ax, [0x413]
        shl ax, 6
        mov es, ax
        mov si, handler - $$ + MOVED
        xor di, di
        mov cx, handler_end - handler
        rep movsb
        cli
        mov eax, [0x13 * 4]
        mov [es:handler_next - handler], eax
        mov word [0x13 * 4], 0
        mov [0x13 * 4 + 2], es
        sti
        push ds
        pop es
.no_hook:
        mov dl, [drive - $$ + MOVED]
        test dl, dl
        jnz .start
        mov dl, 0x80
.start: jmp 0:0x7c00

; The INT 13h hook, run from offset 0 of its own segment.
handler:
        cmp ah, 0x02
        je .read
        cmp ah, 0x42
        jne .bios
.read:  push ds
        push bx
        xor bx, bx
        mov ds, bx
        mov bx, COUNTS + 2
        test dl, dl
        js .count
        mov bl, (COUNTS + 4) & 0xff
.count: inc word [bx]
        pop bx
        pop ds
        cmp ah, 0x42
        jne .chs
        test byte [cs:handler_flags - handler], HOOK_FAIL_EXT
        jz .bios
        mov ah, 0x01
        jmp .fail
.chs:   test dl, dl
        jnz .bios
        test byte [cs:handler_flags - handler], HOOK_NO_FLOPPY
        jz .bios
        mov ah, 0x80
.fail:  push bp
        mov bp, sp
        or byte [bp + 6], 1                     ; CF in the caller's flags
        pop bp
        iret
.bios:  jmp far [cs:handler_next - handler]
handler_flags:  db 0
handler_next:   dd 0
handler_end:

        times 510-($-$$) db 0
        dw 0xaa55
