/* The program image in the launcher's read-only data; the kernel receives its address. */
    .section .rodata
    .balign 16
    .globl brindle_program_image
    .type brindle_program_image, %object
brindle_program_image:
    .incbin BRINDLE_IMAGE_FILE
    .size brindle_program_image, . - brindle_program_image
    .section .note.GNU-stack, "", %progbits
