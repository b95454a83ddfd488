// Encodes one JT65 message on the board and prints its tones over Serial at 9600 baud (a refused
// message prints the status code). Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "CQ K1ABC FN42";

void setup() {
  Serial.begin(9600);
  static uint8_t symbols[QVJ_JT65_SYMBOLS], tones[QVJ_JT65_TONES];
  qvj_message message;
  qvc_report report;
  qvj_jt65_encode(MESSAGE, &message, symbols, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVJ_JT65_TONES);
}

void loop() {}
