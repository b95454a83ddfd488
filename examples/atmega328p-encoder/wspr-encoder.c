/* The encoder core on an ATmega328P, built by a plain Makefile: the chip puts a WSPR message
 * together from its parts (as a balloon tracker does from its GPS fix), encodes it on the chip,
 * and writes the message and its 162 tones (0..3) to the UART at 9600 baud, 8N1; a refused
 * message writes its status code instead. A beacon would key the tones, one every 8192/12000 s
 * (see ../atmega328p-wspr for the timing).
 *
 * Clock: 16 MHz. Build: make (CORE= the folder that holds modes/core).
 */
#include <avr/io.h>
#include <stddef.h>
#include <stdint.h>

#include "modes/core/wspr/qvw-wspr.h"

#define BAUD_DIVISOR (16000000UL / 16 / 9600 - 1)

static void uart_start(void) {
  UBRR0H = (uint8_t)(BAUD_DIVISOR >> 8);
  UBRR0L = (uint8_t)BAUD_DIVISOR;
  UCSR0B = (uint8_t)(1u << TXEN0);
  UCSR0C = (uint8_t)((1u << UCSZ01) | (1u << UCSZ00));
}

static void uart_byte(char c) {
  while (!(UCSR0A & (1u << UDRE0))) {
  }
  UDR0 = (uint8_t)c;
}

static void uart_text(const char* text) {
  while (*text != 0) uart_byte(*text++);
}

static void uart_number(uint8_t n) {
  if (n >= 100) uart_byte((char)('0' + n / 100));
  if (n >= 10) uart_byte((char)('0' + n / 10 % 10));
  uart_byte((char)('0' + n % 10));
}

/* "CALL GRID4 POWER" from its parts, into text (at least 22 bytes and the end). */
static void compose(char* text, const char* call, const char* grid, uint8_t dbm) {
  uint8_t n = 0;
  while (*call != 0) text[n++] = *call++;
  text[n++] = ' ';
  while (*grid != 0) text[n++] = *grid++;
  text[n++] = ' ';
  if (dbm >= 10) text[n++] = (char)('0' + dbm / 10);
  text[n++] = (char)('0' + dbm % 10);
  text[n] = 0;
}

int main(void) {
  static uint8_t tones[QVW_SYMBOLS];
  char text[QVW_MESSAGE_LENGTH + 1];
  qvw_message message;
  qvc_report report;
  uint8_t i;

  uart_start();
  compose(text, "K1ABC", "FN42", 23); /* from the GPS fix, in a tracker */
  qvw_wspr_encode(text, &message, NULL, tones, &report);
  uart_text(text);
  if (report.status != QVC_OK) {
    uart_text(": refused, status ");
    uart_number(report.status);
    uart_text("\r\n");
  } else {
    uart_text("\r\n");
    for (i = 0; i < QVW_SYMBOLS; ++i) {
      uart_number(tones[i]);
      uart_byte(i % 27 == 26 ? '\n' : ' ');
    }
  }
  for (;;) {
  }
}
