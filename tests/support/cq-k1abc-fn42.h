// The listing the encoder prints for CQ K1ABC FN42 and the include file it must give, shared by
// the tests of the conversion and of whole runs.
#pragma once

namespace testsupport {

inline constexpr char kListing[] =
    "Message:   CQ K1ABC FN42\r\n"
    "Packed message, 6-bit symbols:  62 32 32 49 39 55  3  2 14  5 33 40\r\n"
    "Channel symbols, including FEC:\r\n"
    "   41 26 52 55 27 48 25  0 44 36 18  3 37  9 51  6 23  2  9 54 53\r\n"
    "   57 38 63 17 33  3 37 41 24  1  9 35  7 48  9  8 56 12  6 11 38\r\n"
    "   46 48  7  9  0  5 17  2 20 50 41 49  9  5 51 56 24 39 38 52 60\r\n"
    "Decoded message: CQ K1ABC FN42\r\n";

inline constexpr char kInclude[] =
    "\r\n"
    "    de   d'41', d'26', d'52', d'55', d'27', d'48', d'25', d'00'\r\n"
    "    de   d'44', d'36', d'18', d'03', d'37', d'09', d'51', d'06'\r\n"
    "    de   d'23', d'02', d'09', d'54', d'53', d'57', d'38', d'63'\r\n"
    "    de   d'17', d'33', d'03', d'37', d'41', d'24', d'01', d'09'\r\n"
    "    de   d'35', d'07', d'48', d'09', d'08', d'56', d'12', d'06'\r\n"
    "    de   d'11', d'38', d'46', d'48', d'07', d'09', d'00', d'05'\r\n"
    "    de   d'17', d'02', d'20', d'50', d'41', d'49', d'09', d'05'\r\n"
    "    de   d'51', d'56', d'24', d'39', d'38', d'52', d'60'\r\n"
    "    ;    CQ K1ABC FN42\r\n";

}  // namespace testsupport
