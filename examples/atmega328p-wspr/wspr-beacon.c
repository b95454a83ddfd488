/* WSPR beacon for an ATmega328P: sends one WSPR transmission of 162 symbols each time the chip
 * comes out of reset, putting the tone number (0..3) of each symbol on PB0..PB1 for an external
 * synthesiser, and holding the transmitter key on PD6 high while it sends. The tones come from
 * beacon-tones.h, the C header qvcode writes ("qvcode --mode wspr --sequence tones --format c
 * --progmem --name BEACON_TONES ..."), kept in program memory.
 *
 * Clock: a 16 MHz crystal. Timer1 counts at 16 MHz / 256 = 62500 Hz, so a WSPR symbol of
 * 8192/12000 s is 42666 2/3 counts: the periods run 42667, 42667 and 42666 counts in turn, each
 * within 16 ppm of the symbol, and every third symbol edge falls exactly where it belongs. Timer1
 * runs in CTC mode from the start to the end, so the edges never drift; the tone is written by
 * the compare interrupt a fixed few cycles after each edge.
 *
 * Start a transmission by releasing RESET 1 s after an even minute (a button, or a minute pulse
 * from a GPS receiver). After the transmission the chip powers down until the next reset.
 *
 * Build: avr-gcc -mmcu=atmega328p -Os -o wspr-beacon.elf wspr-beacon.c
 */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#include <stdint.h>

#include "beacon-tones.h"

#define TONE_COUNT ((uint8_t)sizeof BEACON_TONES)
#define TONE_PINS 0x03      /* PB0, PB1 */
#define KEY_PIN (1u << PD6) /* transmitter key */

/* Timer1 counts in each symbol period, in a cycle of three. */
static const uint16_t kPeriodCounts[3] = {42667, 42667, 42666};

static volatile uint8_t next_symbol; /* the symbol that starts at the next compare match */
static volatile uint8_t finished;

ISR(TIMER1_COMPA_vect) {
  uint8_t symbol = next_symbol;
  if (symbol == TONE_COUNT) {
    PORTD &= (uint8_t)~KEY_PIN;
    PORTB = 0;
    TCCR1B = 0;
    finished = 1;
    return;
  }
  PORTB = pgm_read_byte(&BEACON_TONES[symbol]);
  /* In CTC mode the new top takes effect in the period that has just begun. */
  OCR1A = kPeriodCounts[symbol % 3] - 1;
  next_symbol = symbol + 1;
}

int main(void) {
  DDRB = TONE_PINS;
  DDRD = KEY_PIN;
  PORTB = pgm_read_byte(&BEACON_TONES[0]);
  PORTD = KEY_PIN;
  next_symbol = 1;
  OCR1A = kPeriodCounts[0] - 1;
  TIMSK1 = 1 << OCIE1A;
  TCNT1 = 0;
  TCCR1B = (1 << WGM12) | (1 << CS12); /* CTC on OCR1A, clock / 256: the symbol clock starts */
  sei();
  set_sleep_mode(SLEEP_MODE_IDLE); /* Timer1 keeps running while the CPU idles */
  while (!finished) sleep_mode();
  cli();
  set_sleep_mode(SLEEP_MODE_PWR_DOWN);
  sleep_mode(); /* until the next reset */
  for (;;) {
  }
}
