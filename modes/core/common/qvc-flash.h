/* Constant tables of the encoder core: where they live and the one way they are read.
   On AVR a table marked QVC_FLASH stays in program memory and costs no RAM; it must then be read
   through qvc_flash_byte, since a plain read would fetch from the data space at the same address.
   Every other target reads it as ordinary const data (sdcc's 8051 port places const data in code
   memory by itself). */
#ifndef QVC_FLASH_H
#define QVC_FLASH_H

#include <stdint.h>

#if defined(__AVR__)
#include <avr/pgmspace.h>
#define QVC_FLASH PROGMEM
#define qvc_flash_byte(address) pgm_read_byte(address)
#else
#define QVC_FLASH
#define qvc_flash_byte(address) (*(const uint8_t*)(address))
#endif

#endif
