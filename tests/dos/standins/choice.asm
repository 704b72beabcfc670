; CHOICE stand-in: shows its prompt like the real one, then answers from
; C:\ANSWERS.TXT, one character per call ('Y' gives exit code 1, 'N' gives 2),
; and writes the unused answers back. With no answer left it records '-' and
; ends with 255, which no script treats as yes or no.
        bits 16
        org     100h
        ; Take the first answer.
        mov     dx, answers_name
        mov     ax, 3D00h
        int     21h
        jc      .no_answer
        mov     bx, ax
        mov     dx, answers
        mov     cx, answers_max
        mov     ah, 3Fh
        int     21h
        jc      .no_answer
        mov     [answers_count], ax
        mov     ah, 3Eh
        int     21h
        cmp     word [answers_count], 0
        je      .no_answer
        ; Put the rest back.
        mov     dx, answers_name
        xor     cx, cx
        mov     ah, 3Ch
        int     21h
        jc      .no_answer
        mov     bx, ax
        mov     dx, answers + 1
        mov     cx, [answers_count]
        dec     cx
        mov     ah, 40h
        int     21h
        mov     ah, 3Eh
        int     21h
        mov     al, [answers]
        and     al, 0DFh                ; upper case
        mov     [answer], al
        mov     byte [exit_code], 1
        cmp     al, 'Y'
        je      .answered
        mov     byte [exit_code], 2
        cmp     al, 'N'
        je      .answered
        mov     byte [exit_code], 255
        jmp     .answered
.no_answer:
        mov     byte [answer], '-'
        mov     byte [exit_code], 255
.answered:
        ; The prompt, as the user would see it: the tail without its
        ; leading blank, the keys, and the key pressed.
        xor     cx, cx
        mov     cl, [80h]
        mov     dx, 81h
        jcxz    .keys
        cmp     byte [81h], ' '
        jne     .prompt
        inc     dx
        dec     cx
.prompt:
        call    con_write
.keys:
        mov     dx, keys
        mov     cx, keys_size
        call    con_write
        call    log_open
        mov     si, record
        call    log_text
        mov     dx, answer
        mov     cx, 1
        call    log_write
        mov     si, field_bar
        call    log_text
        call    log_tail
        mov     al, [exit_code]
        jmp     log_finish

record          db 'CHOICE|', 0
answers_name    db 'C:\ANSWERS.TXT', 0
keys            db '[Y,N]?'
answer          db '-', 13, 10
keys_size       equ $ - keys
exit_code       db 255
answers_count   dw 0
answers_max     equ 64
answers         times answers_max db 0
%include "dosio.inc"
