// Encodes one WSPR message on the board and prints its tones over Serial at 9600 baud (a refused
// message prints the status code). Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "K1ABC FN42 37";

void setup() {
  Serial.begin(9600);
  static uint8_t tones[QVW_SYMBOLS];
  qvw_message message;
  qvc_report report;
  qvw_wspr_encode(MESSAGE, &message, NULL, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVW_SYMBOLS);
}

void loop() {}
