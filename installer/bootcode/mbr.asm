; Placeholder image until the real boot code lands: one sector, the layout's header only.
bits 16
org 0x7c00
        jmp short start
        nop
        db 'BDECKMBR'
        db 1            ; layout version
        db 0            ; flags
        db 0            ; time-out
        db 0            ; extra sectors
        db 'GRLDR      '
        times 32-($-$$) db 0
start:  hlt
        jmp start
        times 512-($-$$) db 0
