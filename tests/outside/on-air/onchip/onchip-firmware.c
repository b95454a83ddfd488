/* The firmware the on-chip tests and benchmarks run: it waits for a message in its exchange block,
   encodes it with one mode of the encoder core and writes the status, the channel symbols and the
   tones back, then waits again; a harness in simavr reads and writes the block by its symbol name.
   The mode comes from a header the build writes for it (onchip-call.h), which names the mode's
   header and defines ONCHIP_SYMBOLS, ONCHIP_TONES and ONCHIP_ENCODE(text, symbols, tones, report).
   Built with ONCHIP_NO_ENCODE the same firmware leaves the encoder out, so the difference in size
   between the two is what the mode costs. Built with ONCHIP_SMALL, for a chip with little RAM, the
   text is short and there is no symbol buffer: the mode gets NULL for it and writes tones only. */
#include <stddef.h>
#include <stdint.h>

#include "modes/core/common/qvc-status.h"
#include "onchip-call.h"

#ifdef ONCHIP_SMALL
#define ONCHIP_TEXT 24
#define ONCHIP_SYMBOL_COUNT 0
#define ONCHIP_SYMBOL_BUFFER NULL
#else
#define ONCHIP_TEXT 64
#define ONCHIP_SYMBOL_COUNT ONCHIP_SYMBOLS
#define ONCHIP_SYMBOL_BUFFER qv_symbols
#endif

/* The layout tests/outside/on-air/onchip/chip-session.cpp reads. */
struct onchip_io {
  uint8_t state; /* 1 waiting for a message, 2 a message is there to encode */
  uint8_t status;
  uint8_t word_start;
  uint8_t word_length;
  uint32_t changes;
  uint8_t symbol_count;
  uint8_t tone_count;
  uint8_t text_capacity;
  char text[ONCHIP_TEXT];
};

struct onchip_io qv_io;
uint8_t qv_symbols[ONCHIP_SYMBOL_COUNT > 0 ? ONCHIP_SYMBOL_COUNT : 1];
uint8_t qv_tones[ONCHIP_TONES];

int main(void) {
  /* Every write the harness reads goes through a volatile pointer: nothing in this program reads
     those bytes back, and a compiler may otherwise drop the writes. */
  volatile struct onchip_io* io = &qv_io;
  io->symbol_count = ONCHIP_SYMBOL_COUNT;
  io->tone_count = ONCHIP_TONES;
  io->text_capacity = ONCHIP_TEXT;
  for (;;) {
    qvc_report report;
    io->state = 1;
    while (io->state != 2) {
    }
#ifdef ONCHIP_NO_ENCODE
    /* The buffers stay in use, so the firmware without the encoder differs only by the encoder. */
    ((volatile uint8_t*)qv_symbols)[0] = (uint8_t)io->text[1];
    ((volatile uint8_t*)qv_tones)[0] = (uint8_t)io->text[2];
    report.status = (uint8_t)io->text[0];
    report.word_start = 0;
    report.word_length = 0;
    report.changes = 0;
#else
    ONCHIP_ENCODE(qv_io.text, ONCHIP_SYMBOL_BUFFER, qv_tones, &report);
#endif
    io->status = report.status;
    io->word_start = report.word_start;
    io->word_length = report.word_length;
    io->changes = report.changes;
  }
}
