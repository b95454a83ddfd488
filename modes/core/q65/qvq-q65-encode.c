/* Q65 from text to tones: the 77-bit packer, WSJT-X's RR73 code, then the channel. A file of its
   own, so that a firmware that keys packed bits links no packer. */
#include "modes/core/ft/qvf-message77.h"
#include "modes/core/q65/qvq-q65.h"

qvc_status qvq_q65_encode(const char* text, uint8_t bits[QVQ_BYTES], uint8_t tones[QVQ_TONES],
                          qvc_report* report) {
  qvc_status status = qvf_pack77(text, bits, report);
  if (status != QVC_OK) return status;
  qvq_q65_prefer_rr73(bits);
  qvq_q65_tones(bits, tones);
  return QVC_OK;
}
