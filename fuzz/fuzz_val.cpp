// SPDX-License-Identifier: MIT
// The leading-number reading on any text: it never fails, never gives NaN or a negative zero,
// and reads plain digit strings as their value.
#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double v = ztc::Val(text);
    if (std::isnan(v) || (v == 0 && std::signbit(v)))
        std::abort();
    // A short run of plain digits reads exactly as its integer value.
    if (size > 0 && size <= 15 &&
        std::all_of(data, data + size, [](uint8_t c) { return c >= '0' && c <= '9'; })) {
        const std::string digits(reinterpret_cast<const char *>(data), size);
        if (v != double(std::strtoll(digits.c_str(), nullptr, 10)))
            std::abort();
    }
    return 0;
}
