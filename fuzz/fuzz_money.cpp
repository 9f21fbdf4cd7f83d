// SPDX-License-Identifier: MIT
// Money reading on any text in several locales: a finite amount or no number, never anything
// else.
#include "numbers.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static const QLocale locales[] = {QLocale("en_US"), QLocale("de_DE"), QLocale("fr_FR"),
                                      QLocale("ja_JP"), QLocale("ar_EG"), QLocale::c()};
    const QLocale &locale = locales[data[0] % std::size(locales)];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (const auto amount = ztc::toMoney(text, locale); amount && !std::isfinite(*amount))
        std::abort();
    return 0;
}
