/* The smallest WSPR beacon: an ATtiny85 at 16 MHz (external crystal) keys an Si5351 over I2C,
 * driven by the chip's USI (SDA on PB0, SCL on PB2). A rising edge on PB1 starts a transmission:
 * wire a GPS receiver's time pulse set to once every two minutes, 1 s after the even minute, or
 * a button pressed then. After the message it sends the Morse identification if the header has
 * one, then waits for the next pulse.
 *
 * Everything comes from beacon.h, the C header of "qvcode --mode wspr --synth si5351 ... -f c
 * --progmem -n BEACON": the message's tones, the Si5351 rows of one band and the Morse.
 *
 * Timing: Timer0 counts at 16 MHz / 256 = 62500 Hz from the start pulse on, in periods of up to
 * 250 counts that end exactly on each edge. A WSPR symbol of 8192/12000 s is 42666 2/3 counts: the
 * symbols run 42667, 42667 and 42666 counts in turn, so every third edge is exact. The dividers
 * and the first tone are set before the pulse, so the carrier goes on within a fraction of a
 * millisecond of it. Morse elements are whole dots of BEACON_CW_DOT_MS.
 *
 * Build: avr-gcc -mmcu=attiny85 -DF_CPU=16000000UL -Os -o tiny-wspr.elf tiny-wspr.c
 */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#include <stdint.h>
#include <util/delay.h>

#include "beacon.h"

#if BEACON_SYMBOL_PERIOD_US != 682667UL
#error "beacon.h holds no WSPR tones"
#endif

#define SDA PB0
#define SCL PB2
#define START_PIN PB1
#define OUTPUT_OFF 0xFF

/* ---- I2C master on the USI in two-wire mode, clocked by software ---- */

#define USI_CLOCK_STROBE ((1 << USIWM1) | (1 << USICS1) | (1 << USICLK) | (1 << USITC))
#define USI_CLEAR_FLAGS ((1 << USISIF) | (1 << USIOIF) | (1 << USIPF) | (1 << USIDC))

/* Clocks the USI until its counter, preset by counter, overflows; returns what it shifted in. */
static uint8_t usi_transfer(uint8_t counter) {
  USISR = USI_CLEAR_FLAGS | counter;
  do {
    _delay_us(2);
    USICR = USI_CLOCK_STROBE; /* SCL up */
    while (!(PINB & (1 << SCL))) {
    }
    _delay_us(1);
    USICR = USI_CLOCK_STROBE; /* SCL down */
  } while (!(USISR & (1 << USIOIF)));
  _delay_us(2);
  uint8_t data = USIDR;
  USIDR = 0xFF;
  DDRB |= 1 << SDA;
  return data;
}

/* Sends a byte and clocks in the acknowledge bit (0: acknowledged). */
static uint8_t i2c_byte(uint8_t byte) {
  PORTB &= (uint8_t) ~(1 << SCL);
  USIDR = byte;
  usi_transfer(0x00);            /* 16 edges: 8 bits */
  DDRB &= (uint8_t) ~(1 << SDA); /* let the device pull SDA */
  return usi_transfer(0x0E) & 1; /* 2 edges: 1 bit */
}

static void i2c_start(void) {
  PORTB |= 1 << SCL;
  while (!(PINB & (1 << SCL))) {
  }
  _delay_us(1);
  PORTB &= (uint8_t) ~(1 << SDA);
  _delay_us(1);
  PORTB &= (uint8_t) ~(1 << SCL);
  PORTB |= 1 << SDA;
}

static void i2c_stop(void) {
  PORTB &= (uint8_t) ~(1 << SDA);
  PORTB |= 1 << SCL;
  while (!(PINB & (1 << SCL))) {
  }
  _delay_us(1);
  PORTB |= 1 << SDA;
  _delay_us(2);
}

static void si5351_write(uint8_t reg, const uint8_t* bytes, uint8_t count, uint8_t in_flash) {
  i2c_start();
  i2c_byte(BEACON_SI5351_ADDRESS << 1);
  i2c_byte(reg);
  for (uint8_t i = 0; i < count; ++i) i2c_byte(in_flash ? pgm_read_byte(&bytes[i]) : bytes[i]);
  i2c_stop();
}

static void si5351_set(uint8_t reg, uint8_t value) {
  si5351_write(reg, &value, 1, 0);
}

static void send_tone(uint8_t tone) {
  si5351_write(BEACON_SI5351_TUNING_REGISTER, &BEACON_TUNING[0][0][0] + tone * BEACON_TUNING_BYTES,
               BEACON_TUNING_BYTES, 1);
}

/* ---- Edges from Timer0 ---- */

/* Timer0 runs in periods of at most 250 counts; the interrupt at the end of each sets the next,
 * so that an edge falls exactly when the counts asked for have run. */
static volatile uint16_t left;        /* counts still to run to the next edge */
static volatile uint16_t next_counts; /* the period after that edge */
static volatile uint8_t edges;        /* edges so far */

static void load_period(void) {
  uint16_t n = left;
  uint8_t step = n > 500 ? 250 : n > 250 ? (uint8_t)(n / 2) : (uint8_t)n;
  OCR0A = step - 1; /* CTC: the new top holds for the period just begun */
  left = n - step;
}

ISR(TIMER0_COMPA_vect) {
  if (left == 0) {
    left = next_counts;
    ++edges;
  }
  load_period();
}

/* Waits for the next edge, and sets the period that follows it. */
static void wait_edge(uint16_t following) {
  uint8_t seen = edges;
  while (edges == seen) sleep_mode();
  next_counts = following;
}

static uint16_t symbol_counts(uint8_t symbol) {
  return symbol % 3 == 2 ? 42666u : 42667u;
}

/* The band's dividers and the first tone, set up while the output is off. */
static void prepare(void) {
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  si5351_set(BEACON_SI5351_CLK_CONTROL_REGISTER, BEACON_SI5351_CLK_CONTROL);
  si5351_write(BEACON_SI5351_SETUP_REGISTER, BEACON_SETUP[0], BEACON_SETUP_BYTES, 1);
  send_tone(pgm_read_byte(&((const uint8_t*)BEACON)[0]));
  si5351_set(BEACON_SI5351_PLL_RESET_REGISTER, BEACON_SI5351_PLL_RESET);
}

static volatile uint8_t started;

/* The start pulse: the symbol clock starts with it, and the carrier goes on at once. */
ISR(PCINT0_vect) {
  if (started || !(PINB & (1 << START_PIN))) return;
  TCCR0B = 0;
  TCNT0 = 0;
  left = symbol_counts(0);
  next_counts = symbol_counts(1);
  load_period();
  TIFR = 1 << OCF0A;
  TCCR0B = 1 << CS02; /* clock / 256 */
  started = 1;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, BEACON_SI5351_OUTPUT_ENABLE);
}

/* Each wait_edge names the period that follows the edge after the one it waits for. */
static void transmit(void) {
  uint16_t gap = 1; /* after the message: nothing, or a word's gap of silence before the Morse */
#ifdef BEACON_CW_IDS
  const uint8_t id = pgm_read_byte(&BEACON_CW_AFTER[0]);
  const uint16_t dot = (uint16_t)(BEACON_CW_DOT_MS * 62500UL / 1000UL);
  const uint8_t* keying = BEACON_CW[id == 0 ? 0 : id - 1];
  if (id != 0) gap = 7 * dot;
#endif
  for (uint8_t symbol = 1; symbol < BEACON_VALUES; ++symbol) {
    wait_edge(symbol + 1 < BEACON_VALUES ? symbol_counts(symbol + 1) : gap);
    send_tone(pgm_read_byte(&((const uint8_t*)BEACON)[symbol]));
  }
#ifdef BEACON_CW_IDS
  if (id != 0) {
    wait_edge(pgm_read_byte(&keying[0]) * dot); /* the message's end */
    si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
    send_tone(0); /* the identification keys tone 0 */
    for (uint8_t i = 0; i < BEACON_CW_LENGTH && pgm_read_byte(&keying[i]) != 0; ++i) {
      uint8_t next = i + 1 < BEACON_CW_LENGTH ? pgm_read_byte(&keying[i + 1]) : 0;
      wait_edge(next != 0 ? next * dot : 1); /* element i begins: key down, up, down, ... */
      si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER,
                 i % 2 == 0 ? BEACON_SI5351_OUTPUT_ENABLE : OUTPUT_OFF);
    }
  }
#endif
  wait_edge(1); /* the end of the message, or of the last Morse element */
  TCCR0B = 0;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
}

int main(void) {
  PORTB = (1 << SDA) | (1 << SCL);
  DDRB = (1 << SDA) | (1 << SCL);
  USIDR = 0xFF;
  USICR = (1 << USIWM1) | (1 << USICS1) | (1 << USICLK);
  USISR = USI_CLEAR_FLAGS;
  TCCR0A = 1 << WGM01; /* CTC on OCR0A; started by the pulse */
  TIMSK = 1 << OCIE0A;
  GIMSK = 1 << PCIE;
  PCMSK = 1 << START_PIN;
  prepare();
  sei();
  set_sleep_mode(SLEEP_MODE_IDLE);
  for (;;) {
    while (!started) sleep_mode();
    transmit();
    prepare();
    started = 0;
  }
}
