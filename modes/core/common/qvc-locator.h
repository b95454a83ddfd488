/* 4-character Maidenhead locators as the JT modes and WSPR pack them: a value below 180 * 180,
   the longitude index (running east from 180 W in 2-degree steps) times 180 plus the latitude
   index (north from 90 S in 1-degree steps). */
#ifndef QVC_LOCATOR_H
#define QVC_LOCATOR_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVC_LOCATOR_COUNT 32400U
/* The value of a blank locator field; the words of the field follow it. */
#define QVC_BLANK_FIELD (QVC_LOCATOR_COUNT + 1)

/* Two letters A-R and two digits, upper case. */
uint8_t qvc_is_locator(const char locator[4]);

/* The value of a locator qvc_is_locator accepts (not checked here; for any other text the value
   means nothing). */
uint16_t qvc_locator_value(const char locator[4]);

#ifdef __cplusplus
}
#endif

#endif
