// The stand-in Arduino core's code (see Arduino.h): printing into qv_serial, and main.
#include <avr/interrupt.h>
#include <avr/sleep.h>

#include "Arduino.h"

char qv_serial[1200];
static size_t used;

HardwareSerial Serial;

void Print::print(const char* text) {
  while (*text != 0 && used + 1 < sizeof qv_serial) qv_serial[used++] = *text++;
}

void Print::print(unsigned long value) {
  char digits[11];
  uint8_t n = 0;
  do {
    digits[n++] = char('0' + value % 10);
    value /= 10;
  } while (value != 0);
  char text[12];
  for (uint8_t i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  text[n] = 0;
  print(text);
}

void Print::print(int value) {
  if (value < 0) {
    print("-");
    print((unsigned long)(-(long)value));
  } else {
    print((unsigned long)value);
  }
}

// One pass of setup(), then sleep with interrupts off: the simulator's sign that the run is over.
int main() {
  setup();
  cli();
  sleep_mode();
  for (;;) {
  }
}
