// Encodes one Q65 message on the board and prints its 85 tones over Serial at 9600 baud (a refused
// message prints the status code). The tones are the same for every submode and period; only
// their spacing and length change. Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "CQ K1ABC FN42";

void setup() {
  Serial.begin(9600);
  static uint8_t tones[QVQ_TONES];
  uint8_t bits[QVQ_BYTES];
  qvc_report report;
  qvq_q65_encode(MESSAGE, bits, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVQ_TONES);
}

void loop() {}
