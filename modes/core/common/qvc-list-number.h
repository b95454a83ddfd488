/* Reading a whole number out of a report or power field the way a Fortran list-directed READ
   does, since that READ decides which texts the reference encoders accept: "2*5" reads 5 (a
   repeat count), "5," and "5;" read 5, ",5" and "/5" read nothing and keep the old value, "5."
   is an error. */
#ifndef QVC_LIST_NUMBER_H
#define QVC_LIST_NUMBER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVC_LIST_VALUE 0   /* a number was read into *value */
#define QVC_LIST_NOTHING 1 /* a null value or a "/": *value keeps what it held */
#define QVC_LIST_END 2     /* only blanks: the end of the record */
#define QVC_LIST_ERROR 3   /* not a number */

/* Reads length characters of text. */
uint8_t qvc_read_list_number(const char* text, uint8_t length, int32_t* value);

#ifdef __cplusplus
}
#endif

#endif
