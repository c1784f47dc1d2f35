; Boot code for the master boot record: sector 0 plus a few sectors in the gap after LBA 1.
; Sector 0 moves itself away from 0:7C00 (a partition's boot sector or the previous MBR goes
; there), loads the rest and hands over; the rest decides what to boot.
; Offsets of the configuration block follow bootcode_layout.h.
%include "memory.inc"

bits 16
cpu 386
org RELOCATED

; ---------------------------------------------------------------- sector 0 (bytes 0..439)
sector0:
        jmp short start
        nop
        db 'BDECKMBR'
cfg_version:    db 1
cfg_flags:      db 0
cfg_timeout:    db 5
cfg_extra:      db EXTRA_SECTORS
cfg_loader:     db 'GRLDR      '
        times 32-($-$$) db 0

start:
        cli
        xor ax, ax
        mov ss, ax
        mov sp, BOOT_ADDR
        mov ds, ax
        mov es, ax
        sti
        cld
        mov si, BOOT_ADDR
        mov di, RELOCATED
        mov cx, 256
        rep movsw
        jmp 0:relocated

relocated:
        mov [boot_drive], dl
        call select_drive
        jc damaged
        mov eax, FIRST_EXTRA_LBA
        mov bx, extra_sectors
        mov cx, EXTRA_SECTORS
.load:  call read_sector
        jc damaged
        cmp dword [bx+504], 'BDEC'
        jne damaged
        cmp dword [bx+508], 'KMBR'
        jne damaged
        inc eax
        add bx, 512
        loop .load
        jmp main

damaged:
        mov si, msg_damaged
        jmp halt_with

%include "disk.inc"
%include "screen.inc"

msg_damaged:    db 'Boot code gap sectors unreadable or overwritten. System halted.', 13, 10, 0

        times 440-($-$$) db 0           ; the rest of sector 0 stays the disk's own:
        times 512-($-$$) db 0           ; disk signature, partition table, 0x55AA

; ---------------------------------------------------------------- sector 1
extra_sectors:
%include "choice.inc"
%include "format.inc"
        times 504-($-extra_sectors) db 0
        db 'BDECKMBR'

; ---------------------------------------------------------------- sector 2
sector2:
%include "partitions.inc"
%include "chain.inc"
        times 504-($-sector2) db 0
        db 'BDECKMBR'

; ---------------------------------------------------------------- sector 3
sector3:
%include "volume.inc"
        times 504-($-sector3) db 0
        db 'BDECKMBR'

image_end:
EXTRA_SECTORS equ (image_end - extra_sectors) / 512

%include "variables.inc"
