// What a table holds of a transmission, and the chip families a table can be laid out for.
#pragma once

namespace qvcode {

enum class Sequence { kSymbols, kTones };

enum class Family { kPic, kAvr };

}  // namespace qvcode
