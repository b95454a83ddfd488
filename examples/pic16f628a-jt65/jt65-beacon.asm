; JT65 beacon for a PIC16F628A: sends one JT65 transmission of 126 symbol periods each time the
; chip comes out of reset, putting the tone number of each period on PORTB for an external
; synthesiser (tone 0 is the sync tone, data tones are the channel symbol + 2), and holding the
; transmitter key on RA0 high while it sends. The 63 channel symbols come from JT65SYMB.INC, the
; include file quorvel writes, placed in data EEPROM; the sync pattern is held here.
;
; Clock: an 11.2896 MHz crystal (HS). One instruction cycle is 4 clocks, so a JT65 symbol of
; 4096/11025 s is exactly 2^20 cycles: 16 overflows of Timer0 with its 1:256 prescaler. Timer0
; runs freely from the start of the transmission, so the symbol edges never drift; each one is
; seen by polling within 3 cycles of its overflow.
;
; Start a transmission by pulling MCLR low and releasing it 1 s after an even minute (a button,
; or a minute pulse from a GPS receiver). After the transmission the chip sleeps until the next.
;
; Build: gpasm jt65-beacon.asm  (with JT65SYMB.INC beside it)

        processor 16f628a
        #include <p16f628a.inc>
        errorlevel -302                 ; banks are selected with banksel
        __config _HS_OSC & _WDT_OFF & _PWRTE_ON & _MCLRE_ON & _BOREN_OFF & _LVP_OFF & _CP_OFF & _CPD_OFF

PERIODS         equ     d'126'          ; symbol periods in a transmission
OVERFLOWS       equ     d'16'           ; Timer0 overflows in one symbol period
KEY             equ     0               ; RA0: transmitter key, high while sending

        cblock  0x20
        period                          ; symbol periods still to send
        index                           ; the period being prepared, 0..125
        eeaddress                       ; the next channel symbol in data EEPROM
        tone                            ; the tone of the period being prepared
        overflows                       ; Timer0 overflows left in this period
        endc

        org     0x0000
        goto    start

start:
        clrf    PORTA
        clrf    PORTB
        movlw   0x07                    ; comparators off: RA0..RA3 are digital pins
        movwf   CMCON
        banksel TRISB
        clrf    TRISB                   ; RB0..RB7: the tone number
        bcf     TRISA, KEY
        movlw   b'10000111'             ; no PORTB pull-ups; Timer0 on the instruction clock, 1:256
        movwf   OPTION_REG
        banksel PORTB

        clrf    index
        clrf    eeaddress
        movlw   PERIODS
        movwf   period
        call    next_tone
        clrf    TMR0                    ; the symbol clock starts now (this also clears the prescaler)
        bcf     INTCON, T0IF
        movf    tone, w
        movwf   PORTB
        bsf     PORTA, KEY

send:
        decfsz  period, f
        goto    prepare
        goto    last_period
prepare:
        call    next_tone               ; ready before the edge, so the edge is written at once
        call    wait_period
        movf    tone, w
        movwf   PORTB
        goto    send

last_period:
        call    wait_period
        bcf     PORTA, KEY
        clrf    PORTB
        sleep                           ; until the next reset
        goto    $

; Waits for the end of the current symbol period.
wait_period:
        movlw   OVERFLOWS
        movwf   overflows
wait_overflow:
        btfss   INTCON, T0IF
        goto    wait_overflow
        bcf     INTCON, T0IF
        decfsz  overflows, f
        goto    wait_overflow
        return

; tone = the tone of period index (sync: 0; data: the next channel symbol + 2); index moves on.
next_tone:
        movf    index, w
        incf    index, f
        call    is_sync
        iorlw   0                       ; Z: a data period
        btfss   STATUS, Z
        goto    sync_tone
        movf    eeaddress, w
        incf    eeaddress, f
        banksel EEADR
        movwf   EEADR
        bsf     EECON1, RD
        movf    EEDATA, w
        banksel PORTB
        addlw   2
        movwf   tone
        return
sync_tone:
        clrf    tone
        return

; The JT65 sync pattern: W = period 0..125 in, 1 for a sync period and 0 for a data period out.
; The table sits in one 256-word block, so the computed jump needs PCLATH only.
        org     0x0100
is_sync:
        movwf   tone
        movlw   high sync_table
        movwf   PCLATH
        movf    tone, w
        addwf   PCL, f
sync_table:
        dt      1,0,0,1,1,0,0,0,1,1,1,1,1,1,0,1,0,1,0,0,0,1,0,1,1,0,0,1,0,0,0,1
        dt      1,1,0,0,1,1,1,1,0,1,1,0,1,1,1,1,0,0,0,1,1,0,1,0,1,0,1,1,0,0,1,1
        dt      0,1,0,1,0,1,0,0,1,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0,1,1,0,1,0,0,1,0
        dt      1,1,0,1,0,1,0,1,0,0,1,1,0,0,1,0,0,1,0,0,0,0,1,1,1,1,1,1,1,1

; The 63 channel symbols, in data EEPROM.
        org     0x2100
        #include "JT65SYMB.INC"

        end
