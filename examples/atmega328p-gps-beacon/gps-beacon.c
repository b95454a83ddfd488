/* WSPR or FT8 beacon for an ATmega328P (Arduino Uno, 16 MHz) with an Si5351 on I2C and a GPS
 * receiver: NMEA on the UART (9600 baud), its PPS pulse on INT0 (PD2). It waits for a fix and
 * the time, starts each transmission on its slot (WSPR 1 s after an even minute, FT8 0.5 s
 * after a 15-second boundary), keys the Si5351 from the tuning table qvcode writes, sends the
 * CW identification after the messages the schedule names, and starts over at the next slot;
 * with several bands in the table, each transmission takes the next band.
 *
 * Everything comes from beacon.h, the C header of "qvcode --synth si5351 ... -f c --progmem -n
 * BEACON": the tone sequence of each message, the Si5351 rows of each band and tone, and the
 * Morse identification. The mode follows from its symbol period.
 *
 * Timing: Timer1 counts at 16 MHz / 256 = 62500 Hz. The pulse of the second before a slot's
 * start arms it: its first compare match, 1 s (WSPR) or 0.5 s (FT8) later, starts the
 * transmission, and each later match starts the next symbol. A WSPR symbol of 8192/12000 s is
 * 42666 2/3 counts: the periods run 42667, 42667, 42666 in turn, so every third edge is exact;
 * an FT8 symbol is 10000 counts. The CW elements are whole dot lengths on the same timer.
 *
 * Build: avr-gcc -mmcu=atmega328p -DF_CPU=16000000UL -Os -o gps-beacon.elf gps-beacon.c
 * Options (-D): BEACON_EVERY=N sends in every N-th slot (default: WSPR 1, FT8 2).
 */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#include <stdint.h>

#include "beacon.h"

#if BEACON_SYMBOL_PERIOD_US == 682667UL
#define PERIOD_SECONDS 120u
#define START_DELAY_COUNTS 62500u /* the slot starts 1 s after the arming pulse */
#define EVERY_DEFAULT 1
#elif BEACON_SYMBOL_PERIOD_US == 160000UL
#define PERIOD_SECONDS 15u
#define START_DELAY_COUNTS 31250u /* 0.5 s */
#define EVERY_DEFAULT 2
#else
#error "beacon.h holds neither WSPR nor FT8 tones"
#endif
#ifndef BEACON_EVERY
#define BEACON_EVERY EVERY_DEFAULT
#endif
/* The bench's own checks build a faulty beacon on purpose: one that starts a second late
 * (BEACON_SLIP_SECONDS=1) or that writes each tone one register too high (BEACON_SLIP_REGISTER=1). */
#ifndef BEACON_SLIP_SECONDS
#define BEACON_SLIP_SECONDS 0
#endif
#ifndef BEACON_SLIP_REGISTER
#define BEACON_SLIP_REGISTER 0
#endif

#define TIMER_HZ 62500UL
#define SI5351_WRITE (BEACON_SI5351_ADDRESS << 1)
#define OUTPUT_OFF 0xFF

/* ---- I2C (TWI) master, polled, 400 kHz ---- */

static void twi_wait(void) {
  while (!(TWCR & (1 << TWINT))) {
  }
}

static void twi_byte(uint8_t byte) {
  TWDR = byte;
  TWCR = (1 << TWINT) | (1 << TWEN);
  twi_wait();
}

/* Writes count bytes to the Si5351 from register on; the bytes in flash or in RAM. */
static void si5351_write(uint8_t reg, const uint8_t* bytes, uint8_t count, uint8_t in_flash) {
  TWCR = (1 << TWINT) | (1 << TWSTA) | (1 << TWEN);
  twi_wait();
  twi_byte(SI5351_WRITE);
  twi_byte(reg);
  for (uint8_t i = 0; i < count; ++i) twi_byte(in_flash ? pgm_read_byte(&bytes[i]) : bytes[i]);
  TWCR = (1 << TWINT) | (1 << TWSTO) | (1 << TWEN);
  while (TWCR & (1 << TWSTO)) {
  }
}

static void si5351_set(uint8_t reg, uint8_t value) {
  si5351_write(reg, &value, 1, 0);
}

/* ---- What is being sent ---- */

enum { IDLE, ARMED, SENDING, IDENTIFYING };
static volatile uint8_t state = IDLE;
static uint8_t band;           /* of the transmission armed or in progress */
static uint8_t message;        /* likewise */
static uint8_t slots_to_skip;  /* before the next transmission, for BEACON_EVERY */
static uint16_t transmissions; /* sent so far: picks the band and the message */
static uint8_t position;       /* the next symbol, or the next CW element */
static uint8_t key_down;       /* CW: the carrier is on */

static const uint8_t* tuning_row(uint8_t tone) {
  return &BEACON_TUNING[band][0][0] + (uint16_t)tone * BEACON_TUNING_BYTES;
}

static void send_tone(uint8_t tone) {
  si5351_write(BEACON_SI5351_TUNING_REGISTER + BEACON_SLIP_REGISTER, tuning_row(tone),
               BEACON_TUNING_BYTES, 1);
}

static uint8_t message_tone(uint8_t symbol) {
  return pgm_read_byte((const uint8_t*)BEACON + (uint16_t)message * BEACON_LENGTH + symbol);
}

/* The band's dividers and the first tone, set up while the output is off. */
static void prepare(void) {
  band = transmissions % BEACON_BANDS;
  message = transmissions % BEACON_MESSAGES;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  si5351_set(BEACON_SI5351_CLK_CONTROL_REGISTER, BEACON_SI5351_CLK_CONTROL);
  si5351_write(BEACON_SI5351_SETUP_REGISTER, BEACON_SETUP[band], BEACON_SETUP_BYTES, 1);
  send_tone(message_tone(0));
  si5351_set(BEACON_SI5351_PLL_RESET_REGISTER, BEACON_SI5351_PLL_RESET);
}

/* ---- Time from the GPS: the UTC second of the last pulse ---- */

static volatile uint8_t time_known;    /* a valid RMC with a fix, and a GGA with a fix */
static volatile uint32_t pulse_second; /* seconds of the day at the last pulse */

/* A slot starts 1 s (WSPR) or 0.5 s (FT8) after a pulse at a whole period. */
ISR(INT0_vect) {
  if (!time_known) return;
  pulse_second = (pulse_second + 1) % 86400UL;
  if (state != IDLE || pulse_second % PERIOD_SECONDS != BEACON_SLIP_SECONDS) return;
  if (slots_to_skip != 0) {
    --slots_to_skip;
    return;
  }
  slots_to_skip = BEACON_EVERY - 1;
  /* The timer first, so that the I2C writes after it cost the slot nothing. */
  TCCR1B = 0;
  TCNT1 = 0;
  OCR1A = START_DELAY_COUNTS - 1;
  TIFR1 = 1 << OCF1A;
  TCCR1B = (1 << WGM12) | (1 << CS12); /* CTC on OCR1A, clock / 256 */
  prepare();
  state = ARMED;
}

/* ---- The symbol clock ---- */

#if PERIOD_SECONDS == 120u
static uint16_t symbol_counts(uint8_t symbol) {
  return symbol % 3 == 2 ? 42666u : 42667u;
}
#else
static uint16_t symbol_counts(uint8_t symbol) {
  (void)symbol;
  return 10000u;
}
#endif

#ifdef BEACON_CW_IDS
#define DOT_COUNTS ((uint16_t)(BEACON_CW_DOT_MS * TIMER_HZ / 1000UL))
#if BEACON_CW_DOT_MS * 7UL * TIMER_HZ / 1000UL > 65535UL
#error "a CW dot longer than 149 ms does not fit Timer1's periods"
#endif
static uint8_t cw_id(void) {
  return pgm_read_byte(&BEACON_CW_AFTER[message]);
}

/* The next key-down or key-up element of the identification; 0 when it is over. */
static uint8_t cw_step(void) {
  uint8_t id = cw_id();
  uint8_t units = position < BEACON_CW_LENGTH ? pgm_read_byte(&BEACON_CW[id - 1][position]) : 0;
  if (units == 0) return 0;
  ++position;
  key_down = !key_down;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER,
             key_down ? BEACON_SI5351_OUTPUT_ENABLE : OUTPUT_OFF);
  OCR1A = units * DOT_COUNTS - 1;
  return 1;
}
#endif

static void finish(void) {
  TCCR1B = 0;
  ++transmissions;
  state = IDLE;
}

ISR(TIMER1_COMPA_vect) {
  if (state == ARMED) {
    si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, BEACON_SI5351_OUTPUT_ENABLE);
    OCR1A = symbol_counts(0) - 1; /* CTC: the new top holds for the period just begun */
    position = 1;
    state = SENDING;
    return;
  }
  if (state == SENDING) {
    if (position < BEACON_VALUES) {
      send_tone(message_tone(position));
      OCR1A = symbol_counts(position) - 1;
      ++position;
      return;
    }
    si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
#ifdef BEACON_CW_IDS
    if (cw_id() != 0) {
      send_tone(0); /* the identification keys tone 0 */
      position = 0;
      key_down = 0;
      /* A word's gap of silence after the message, then the Morse. */
      OCR1A = 7 * DOT_COUNTS - 1;
      state = IDENTIFYING;
      return;
    }
#endif
    finish();
    return;
  }
#ifdef BEACON_CW_IDS
  if (state == IDENTIFYING && cw_step()) return;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
#endif
  finish();
}

/* ---- NMEA from the UART ---- */

static volatile uint8_t rx_buffer[128];
static volatile uint8_t rx_head;
static uint8_t rx_tail;

ISR(USART_RX_vect) {
  uint8_t byte = UDR0;
  uint8_t next = (rx_head + 1) & 127;
  if (next != rx_tail) {
    rx_buffer[rx_head] = byte;
    rx_head = next;
  }
}

static char line[84];
static uint8_t line_length;
static uint8_t rmc_valid, gga_valid;
static uint32_t rmc_second;

static uint8_t hex_digit(char c) {
  return c <= '9' ? c - '0' : (c & ~0x20) - 'A' + 10;
}

/* The start of field n (0: the sentence name), or 0 when the sentence has fewer. */
static const char* field(uint8_t n) {
  const char* p = line;
  while (n != 0) {
    while (*p != ',' && *p != '*' && *p != 0) ++p;
    if (*p != ',') return 0;
    ++p;
    --n;
  }
  return p;
}

static uint8_t two_digits(const char* p) {
  return (uint8_t)((p[0] - '0') * 10 + (p[1] - '0'));
}

/* A whole sentence "$...*HH" in line: checked, then taken in. */
static void take_sentence(void) {
  uint8_t sum = 0, i = 1;
  for (; i < line_length && line[i] != '*'; ++i) sum ^= (uint8_t)line[i];
  if (line[0] != '$' || (uint8_t)(i + 2) >= line_length ||
      ((hex_digit(line[i + 1]) << 4) | hex_digit(line[i + 2])) != sum)
    return;
  const char* name = line + 3; /* after "$GP", "$GN", ... */
  if (name[0] == 'R' && name[1] == 'M' && name[2] == 'C') {
    const char *time = field(1), *status = field(2);
    rmc_valid = time != 0 && status != 0 && status[0] == 'A' && time[0] != ',';
    if (rmc_valid)
      rmc_second = two_digits(time) * 3600UL + two_digits(time + 2) * 60u + two_digits(time + 4);
  } else if (name[0] == 'G' && name[1] == 'G' && name[2] == 'A') {
    const char* quality = field(6);
    gga_valid = quality != 0 && quality[0] >= '1' && quality[0] <= '9';
  } else {
    return;
  }
  cli();
  if (rmc_valid && gga_valid) {
    pulse_second = rmc_second; /* the time the receiver gives is that of its last pulse */
    time_known = 1;
  } else if (!rmc_valid) {
    time_known = 0;
  }
  sei();
}

static void read_gps(void) {
  while (rx_tail != rx_head) {
    char c = (char)rx_buffer[rx_tail];
    rx_tail = (rx_tail + 1) & 127;
    if (c == '$') line_length = 0;
    if (c == '\r' || c == '\n') {
      line[line_length] = 0;
      if (line_length > 0) take_sentence();
      line_length = 0;
    } else if (line_length < sizeof line - 1) {
      line[line_length++] = c;
    }
  }
}

int main(void) {
  UBRR0 = 103; /* 9600 baud at 16 MHz */
  UCSR0B = (1 << RXEN0) | (1 << RXCIE0);
  UCSR0C = (1 << UCSZ01) | (1 << UCSZ00);
  TWBR = 12; /* 400 kHz */
  TWSR = 0;
  EICRA = (1 << ISC01) | (1 << ISC00); /* INT0 on the pulse's rising edge */
  EIMSK = 1 << INT0;
  TIMSK1 = 1 << OCIE1A;
  si5351_set(BEACON_SI5351_OUTPUT_ENABLE_REGISTER, OUTPUT_OFF);
  sei();
  set_sleep_mode(SLEEP_MODE_IDLE); /* the UART and Timer1 run while the CPU idles */
  for (;;) {
    read_gps();
    sleep_mode();
  }
}
