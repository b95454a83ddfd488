// Encodes one FST4W message on the board and prints its 160 tones over Serial at 9600 baud (a
// refused message prints the status code). The tones are the same for every T/R period; only their
// length changes. Put your own message in MESSAGE.
#include <Quorvel.h>
#include <QuorvelPrint.h>

static const char MESSAGE[] = "K1ABC FN42 37";

void setup() {
  Serial.begin(9600);
  static uint8_t tones[QVS_TONES];
  qvc_report report;
  qvs_fst4w_encode(MESSAGE, tones, &report);
  quorvel_print_tones(Serial, MESSAGE, report, tones, QVS_TONES);
}

void loop() {}
