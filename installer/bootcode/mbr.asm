; Boot code for the master boot record: sector 0 plus a few sectors in the gap after LBA 1.
; Sector 0 moves itself away from 0:7C00 (a partition's boot sector or the previous MBR goes
; there), loads the rest and hands over; the rest decides what to boot. When the rest cannot be
; loaded, or is not exactly what our install wrote, sector 0 alone still starts the old MBR.
; Offsets of the configuration block follow bootcode_layout.h.
%include "memory.inc"

LAYOUT          equ 3                   ; bootcode_layout.h's kLayoutVersion

; gap_sector_end: pads the sector that starts at the label given, then ends it with the layout
; version (byte 503) and our mark (bytes 504..511), by which the installer knows the gap as ours
; (and a layout-2 sector 0 refuses this gap).
%macro gap_sector_end 1
        times 503-($-%1) db 0
        db LAYOUT
        db 'BDECKMBR'
%endmacro

bits 16
cpu 386
org RELOCATED

; ---------------------------------------------------------------- sector 0 (bytes 0..439)
sector0:
        jmp short start
        db 0                            ; not 90h: some BIOSes take EB xx 90 for a floppy's boot
                                        ; sector and patch its BPB, which here is code
        db 'BDECKMBR'
cfg_version:    db LAYOUT
cfg_flags:      db 0
cfg_timeout:    db 5
cfg_extra:      db EXTRA_SECTORS
cfg_loader:     db 'GRLDR      '
cfg_gap_sum:    dw 0                    ; the installer's checksum of the gap sectors
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
        mov si, sp                      ; BOOT_ADDR
        mov di, RELOCATED
        mov cx, 256
        rep movsw
        jmp 0:relocated

relocated:
        mov [bios_drive], dl
        mov bp, load_gap
        call on_boot_drive
        jnc main
        mov si, msg_damaged             ; other software wrote over the gap sectors, or an
                                        ; install stopped part-way
        call print
        call may_boot_previous
        jne .halt
        mov bp, load_previous
        call on_boot_drive
        jc .halt
        mov si, msg_previous
        call print
        jmp start_previous
.halt:  mov si, msg_halted
        jmp halt_with

; on_boot_drive: calls BP with [boot_drive] = the drive the BIOS named and, when that fails
; and it was not 80h (some BIOSes pass a wrong one), once more with 80h. CF when both failed.
on_boot_drive:
        mov dl, [bios_drive]
.try:   mov [boot_drive], dl
        call bp
        jnc .done
        cmp byte [boot_drive], BOOT_DISK
        mov dl, BOOT_DISK
        jne .try
        stc
.done:  ret

; load_gap: reads our sectors after LBA 1. CF unless they hold exactly what our install wrote:
; the gap of another disk, of another build or of a half-finished install is never run.
load_gap:
        mov bx, extra_sectors
        mov ax, 0x0200 + EXTRA_SECTORS
        mov cl, FIRST_EXTRA_LBA + 1
        call read_track0
        jc .done
        mov si, bx
        mov cx, EXTRA_SECTORS * 256
        xor dx, dx
.sum:   lodsw                           ; rotate and add: bytes moved to other places count too
        rol dx, 1
        add dx, ax
        loop .sum
        cmp dx, [cfg_gap_sum]
        je .done                        ; CF clear
        stc
.done:  ret

; is_ours: ZF set when the 8 bytes at DS:SI are our mark, 'BDECKMBR'.
is_ours:
        pusha
        mov di, sector0 + 3
        mov cx, 8
        repe cmpsb
        popa
        ret

; may_boot_previous: ZF set when LBA 1 holds the old MBR and its use is not disabled.
may_boot_previous:
        mov al, [cfg_flags]
        and al, FLAG_NO_PREVIOUS | FLAG_PREVIOUS_SAVED
        cmp al, FLAG_PREVIOUS_SAVED
        ret

; load_previous: reads LBA 1 of the boot drive to 0:7C00. CF set when it holds no MBR to start
; (no 0x55AA, or our own code, which would only come back here).
load_previous:
        mov bx, BOOT_ADDR
        mov ax, 0x0201
        mov cl, PREVIOUS_LBA + 1
        call read_track0
        jc .done
        cmp word [BOOT_ADDR+510], 0xaa55
        stc
        jne .done
        mov si, BOOT_ADDR + 3
        call is_ours
        stc
        je .done
        clc
.done:  ret

; start_previous: the old MBR gets today's disk signature and partition table, as it
; would have them had it stayed in sector 0, and starts with DL = the boot drive.
start_previous:
        mov si, RELOCATED + 440
        mov di, BOOT_ADDR + 440
        mov cx, 35
        rep movsw
        mov dl, [boot_drive]
        jmp 0:BOOT_ADDR

; read_track0: AL = sectors, CL = the first one's number, ES:BX = buffer. Reads them from the
; start of track 0 of the boot drive (cylinder 0, head 0), which holds LBA 0 to the track's end
; in every geometry: our sectors need neither the extensions nor the drive's geometry.
read_track0:
        mov ah, 0x02
        xor ch, ch
        movzx dx, byte [boot_drive]
        ; falls through

; disk_call: AX, CX, DX, ES:BX and DS:SI as INT 13h takes them; for AH=42h CX is also the
; packet's sector count, set again before each attempt (a failed call may change it). Up to
; ATTEMPTS attempts with a reset between; a floppy drive without a disk costs one.
; CF on failure; all registers kept.
disk_call:
        mov byte [attempts], ATTEMPTS
.try:   pusha
        mov bp, sp
        mov [dap+2], cx
        int 0x13
        cld                             ; a handler that ends with RETF 2 leaves its own DF
        jnc .done
        dec byte [attempts]
        jz .done                        ; CF still set
        test byte [bp+10], 0x80         ; the caller's DL: a hard disk, try again
        jnz .reset
        cmp ah, FLOPPY_SEEK_FAILED
        je .reset
        cmp ah, FLOPPY_NO_DISK          ; a floppy's media error (CF), try again
        cmc
        jc .done                        ; no disk in the drive
.reset: xor ax, ax
        mov dl, [bp+10]
        int 0x13
        popa
        jmp .try
.done:  popa
        ret

%include "screen.inc"

msg_damaged:    db 'bootdeck: boot code damaged or incomplete', 0
msg_previous:   db ', booting the old MBR', 13, 10, 0
msg_halted:     db '. System halted.', 13, 10, 0

        times 440-($-$$) db 0           ; the rest of sector 0 stays the disk's own:
        times 512-($-$$) db 0           ; disk signature, partition table, 0x55AA

; ---------------------------------------------------------------- sector 1
extra_sectors:
%include "choice.inc"
%include "format.inc"
        gap_sector_end extra_sectors

; ---------------------------------------------------------------- sector 2
sector2:
%include "partitions.inc"
%include "chain.inc"
        gap_sector_end sector2

; ---------------------------------------------------------------- sector 3
sector3:
%include "volume.inc"
        gap_sector_end sector3

; ---------------------------------------------------------------- sector 4
sector4:
%include "disk.inc"
%include "loader.inc"
        gap_sector_end sector4

image_end:
EXTRA_SECTORS equ (image_end - extra_sectors) / 512

%include "variables.inc"
