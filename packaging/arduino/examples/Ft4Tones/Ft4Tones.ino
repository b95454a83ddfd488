// Encodes one FT4 message on the board and prints its tones over Serial at 9600 baud (a refused
// message prints the status code). Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "CQ K1ABC FN42";

void setup() {
  Serial.begin(9600);
  static uint8_t tones[QVF_FT4_TONES];
  uint8_t bits[QVF_MESSAGE77_BYTES];
  qvc_report report;
  qvf_ft4_encode(MESSAGE, bits, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVF_FT4_TONES);
}

void loop() {}
