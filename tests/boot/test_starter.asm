; A floppy boot sector for the boot tests: it prepares what a BIOS may leave behind, then starts
; the first hard disk's MBR as the BIOS would have. The test writes its settings:
TICKS   equ 3       ; dd: the BIOS tick count to set (QEMU's BIOS takes the clock chip's time,
                    ;     never near midnight), or FFFFFFFF to keep it
KEY     equ 7       ; dw: a keystroke (scan code, character) to leave in the buffer, or 0
DRIVE   equ 9       ; db: the DL the MBR gets (some BIOSes pass a wrong one)
HOOK    equ 10      ; db: 0, or bits for an INT 13h hook in the top KiB of memory, which counts
                    ;     the read calls (AH=02h, 42h) at 0:04F2 (hard disks) and 0:04F4 (others)
FAIL_EXT equ 2      ;     and with this bit AH=42h fails, though AH=41h announces it;
SET_DF  equ 4       ;     with this one every call the BIOS answers returns with DF set, as from
                    ;     a handler that ends with RETF 2
bits 16
org 0x0600                              ; moved there, out of the MBR's way
        jmp short start
        times 11-($-$$) db 0
start:  cli
        xor ax, ax
        mov ss, ax
        mov sp, 0x7c00
        mov ds, ax
        mov es, ax
        sti
        mov si, sp
        mov di, $$
        mov cx, 256
        rep movsw
        jmp 0:moved
moved:  mov dx, [$$ + TICKS]
        mov cx, [$$ + TICKS + 2]
        cmp cx, 0xffff
        je .clock_kept
        mov ah, 0x01
        int 0x1a
.clock_kept:
        mov cx, [$$ + KEY]
        jcxz .no_key
        mov ah, 0x05
        int 0x16
.no_key:
        mov ax, 0x0201
        mov bx, 0x7c00
        mov cx, 0x0001
        mov dx, 0x0080
        int 0x13
.halt:  jc .halt
        mov al, [$$ + HOOK]
        test al, al
        jz .no_hook
        mov [flags], al
        mov dword [0x4f2], 0            ; both counts
        dec word [0x413]                ; the hook's KiB of memory
        mov ax, [0x413]
        shl ax, 6
        mov es, ax
        mov si, handler
        xor di, di
        mov cx, handler_end - handler
        rep movsb
        cli
        mov eax, [0x13 * 4]
        mov [es:next - handler], eax
        mov [0x13 * 4 + 2], es
        mov word [0x13 * 4], 0
        sti
.no_hook:
        mov dl, [$$ + DRIVE]
        jmp 0:0x7c00

; The INT 13h hook, run from offset 0 of its own segment.
handler:
        cmp ah, 0x02
        je .read
        cmp ah, 0x42
        jne .bios
.read:  push ds
        push bx
        push 0
        pop ds
        mov bx, 0x4f2
        test dl, dl
        js .count
        mov bl, 0xf4
.count: inc word [bx]
        pop bx
        pop ds
        cmp ah, 0x42
        jne .bios
        test byte [cs:flags - handler], FAIL_EXT
        jz .bios
        mov ah, 0x01
        push bp
        mov bp, sp
        or byte [bp + 6], 1             ; CF in the caller's flags
        pop bp
        iret
.bios:  test byte [cs:flags - handler], SET_DF
        jz .chain
        pushf
        call far [cs:next - handler]
        std
        retf 2
.chain: jmp far [cs:next - handler]
flags:  db 0
next:   dd 0
handler_end:
        times 510-($-$$) db 0
        dw 0xaa55
