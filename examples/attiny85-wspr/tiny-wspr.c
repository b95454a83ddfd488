/* The smallest WSPR beacon: an ATtiny85 at 16 MHz (external crystal) keys an Si5351 over I2C,
 * driven by the chip's USI (SDA on PB0, SCL on PB2). A rising edge on PB1 starts a transmission:
 * wire a GPS receiver's time pulse set to once every two minutes, 1 s after the even minute, or
 * a button pressed then. After the message it sends the Morse identification if the header has
 * one, then waits for the next pulse.
 *
 * Everything comes from beacon.h, the C header of "qvcode --mode wspr --synth si5351 ... -f c
 * --progmem -n BEACON": the message's tones, the Si5351 rows of one band and the Morse.
 *
 * Timing: Timer0 counts at 16 MHz / 256 = 62500 Hz and ticks every 250 counts (250 Hz). A WSPR
 * symbol of 8192/12000 s is 170 2/3 ticks: the symbols run 171, 171 and 170 ticks in turn, so
 * every third symbol edge is exact. Morse elements are whole dots of BEACON_CW_DOT_MS rounded
 * to ticks.
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
#define TICK_HZ 250u

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

/* ---- The tick ---- */

static volatile uint8_t ticks;

ISR(TIMER0_COMPA_vect) {
  ++ticks;
}

/* Waits until count ticks have passed since the last wait ended. */
static void wait_ticks(uint8_t count) {
  while (ticks < count) sleep_mode();
  cli();
  ticks -= count;
  sei();
}

static volatile uint8_t started;

ISR(PCINT0_vect) {
  if (PINB & (1 << START_PIN)) started = 1;
}

static void transmit(void) {
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  si5351_set(BEACON_SI5351_CLK_CONTROL_REGISTER, BEACON_SI5351_CLK_CONTROL);
  si5351_write(BEACON_SI5351_SETUP_REGISTER, BEACON_SETUP[0], BEACON_SETUP_BYTES, 1);
  send_tone(pgm_read_byte(&((const uint8_t*)BEACON)[0]));
  si5351_set(BEACON_SI5351_PLL_RESET_REGISTER, BEACON_SI5351_PLL_RESET);
  ticks = 0;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, BEACON_SI5351_OUTPUT_ENABLE);
  for (uint8_t symbol = 0; symbol < BEACON_VALUES; ++symbol) {
    if (symbol != 0) send_tone(pgm_read_byte(&((const uint8_t*)BEACON)[symbol]));
    wait_ticks(symbol % 3 == 2 ? 170 : 171);
  }
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
#ifdef BEACON_CW_IDS
  if (pgm_read_byte(&BEACON_CW_AFTER[0]) != 0) {
    const uint8_t dot = (uint8_t)((BEACON_CW_DOT_MS * TICK_HZ + 500u) / 1000u);
    const uint8_t* keying = BEACON_CW[pgm_read_byte(&BEACON_CW_AFTER[0]) - 1];
    send_tone(0);
    wait_ticks(7 * dot);
    uint8_t down = 0;
    for (uint8_t i = 0; i < BEACON_CW_LENGTH && pgm_read_byte(&keying[i]) != 0; ++i) {
      down = !down;
      si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER,
                 down ? BEACON_SI5351_OUTPUT_ENABLE : OUTPUT_OFF);
      wait_ticks(pgm_read_byte(&keying[i]) * dot);
    }
    si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  }
#endif
}

int main(void) {
  PORTB = (1 << SDA) | (1 << SCL);
  DDRB = (1 << SDA) | (1 << SCL);
  USIDR = 0xFF;
  USICR = (1 << USIWM1) | (1 << USICS1) | (1 << USICLK);
  USISR = USI_CLEAR_FLAGS;
  TCCR0A = 1 << WGM01; /* CTC on OCR0A */
  OCR0A = 249;         /* 62500 Hz / 250 = the 250 Hz tick */
  TCCR0B = 1 << CS02;  /* clock / 256 */
  TIMSK = 1 << OCIE0A;
  GIMSK = 1 << PCIE;
  PCMSK = 1 << START_PIN;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  sei();
  set_sleep_mode(SLEEP_MODE_IDLE);
  for (;;) {
    while (!started) sleep_mode();
    transmit();
    started = 0;
  }
}
