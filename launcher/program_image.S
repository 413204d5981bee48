/* The program image in the launcher's read-only data, and its size in bytes: the kernel receives both
   and reads nothing outside them. */
    .section .rodata
    .balign 16
    .globl brindle_program_image
    .type brindle_program_image, %object
brindle_program_image:
    .incbin BRINDLE_IMAGE_FILE
brindle_program_image_end:
    .size brindle_program_image, . - brindle_program_image
    .balign 8
    .globl brindle_program_image_size
    .type brindle_program_image_size, %object
brindle_program_image_size:
    .quad brindle_program_image_end - brindle_program_image
    .size brindle_program_image_size, 8
    .section .note.GNU-stack, "", %progbits
