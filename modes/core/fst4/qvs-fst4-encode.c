/* FST4 from text to tones: the 77-bit packer, then the frame. A file of its own, so that a
   firmware that keys packed bits links no packer. */
#include "modes/core/fst4/qvs-fst4.h"
#include "modes/core/ft/qvf-message77.h"

qvc_status qvs_fst4_encode(const char* text, uint8_t bits[QVS_FST4_BYTES], uint8_t tones[QVS_TONES],
                           qvc_report* report) {
  qvc_status status = qvf_pack77(text, bits, report);
  if (status == QVC_OK) qvs_fst4_tones(bits, tones);
  return status;
}
