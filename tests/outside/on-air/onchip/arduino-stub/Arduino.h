// Stands in for the Arduino core when the library's example sketches are built with avr-g++ and run
// in simavr: Serial keeps what a sketch prints in a buffer (qv_serial) that the harness reads, and
// main runs setup() once, then stops the chip (arduino-stub.cpp).
#ifndef QUORVEL_ARDUINO_STUB_H
#define QUORVEL_ARDUINO_STUB_H

#include <stddef.h>
#include <stdint.h>

struct Print {
  void begin(long) {}
  void print(const char* text);
  void print(unsigned long value);
  void print(unsigned char value) { print((unsigned long)value); }
  void print(unsigned int value) { print((unsigned long)value); }
  void print(int value);
  void println(const char* text) {
    print(text);
    print("\n");
  }
  void println(unsigned char value) {
    print(value);
    print("\n");
  }
};
typedef Print HardwareSerial;
extern HardwareSerial Serial;

void setup();
void loop();

#endif
