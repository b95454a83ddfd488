// Encodes one JT4 message on the board and prints its tones over Serial at 9600 baud (a refused
// message prints the status code). Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "CQ K1ABC FN42";

void setup() {
  Serial.begin(9600);
  static uint8_t tones[QVJ_JT4_TONES];
  qvj_message message;
  qvc_report report;
  qvj_jt4_encode(MESSAGE, &message, NULL, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVJ_JT4_TONES);
}

void loop() {}
