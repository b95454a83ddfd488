/* The Quorvel encoder core for Arduino sketches: every mode's entry in one include. Each mode links
   alone, so a sketch that calls one encoder carries only that encoder's code and tables.
     JT65 A-C   qvj_jt65_encode   63 symbols, 126 tones (modes/core/jt/qvj-jt65.h)
     JT9        qvj_jt9_encode    69 symbols, 85 tones  (modes/core/jt/qvj-jt9.h)
     JT4 A-G    qvj_jt4_encode    206 tones             (modes/core/jt/qvj-jt4.h)
     WSPR       qvw_wspr_encode   162 tones             (modes/core/wspr/qvw-wspr.h)
     FT8        qvf_ft8_encode    79 tones              (modes/core/ft/qvf-ft8.h)
     FT4        qvf_ft4_encode    105 tones             (modes/core/ft/qvf-ft4.h)
     FST4W      qvs_fst4w_encode  160 tones             (modes/core/fst4/qvs-fst4.h)
     FST4       qvs_fst4_encode   160 tones             (modes/core/fst4/qvs-fst4.h)
     Q65 A-E    qvq_q65_encode    85 tones              (modes/core/q65/qvq-q65.h)
   Each fills a qvc_report (modes/core/common/qvc-status.h): status QVC_OK or why the message is
   refused, and a bit for each thing the mode changed in it. */
#ifndef QUORVEL_H
#define QUORVEL_H

#include "modes/core/common/qvc-status.h"
#include "modes/core/fst4/qvs-fst4.h"
#include "modes/core/ft/qvf-ft4.h"
#include "modes/core/ft/qvf-ft8.h"
#include "modes/core/jt/qvj-jt4.h"
#include "modes/core/jt/qvj-jt65.h"
#include "modes/core/jt/qvj-jt9.h"
#include "modes/core/q65/qvq-q65.h"
#include "modes/core/wspr/qvw-wspr.h"

#endif
