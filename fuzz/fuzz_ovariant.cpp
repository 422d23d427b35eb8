// Drives OVariant through its setters, copies, moves and comparisons, and the
// link's value conversions, in an order chosen by the input.
#include "host/ConverterException.h"
#include "link/JsonCodec.h"
#include "support/OVariant.h"

#include <QString>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

std::uint32_t take32(const std::uint8_t*& p, const std::uint8_t* end)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && p < end; ++i)
        value = (value << 8) | *p++;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    OVariant values[3];

    while (p < end) {
        const std::uint8_t op = *p++;
        OVariant& v = values[op % 3];
        OVariant& other = values[(op / 3) % 3];
        switch ((op / 9) % 12) {
        case 0: v = static_cast<int>(take32(p, end)); break;
        case 1: v = take32(p, end); break;
        case 2: {
            const std::uint32_t bits = take32(p, end);
            float f;
            std::memcpy(&f, &bits, sizeof f);
            v = f;
            break;
        }
        case 3: {
            // A text from the rest of the input, NUL-terminated by us.
            const std::size_t n = std::min<std::size_t>(std::size_t(end - p), 2048);
            std::string text(reinterpret_cast<const char*>(p), n);
            p += n;
            const std::uint32_t limit = n ? text[0] * 9u : 0u;
            const std::uint32_t code = v.setString(text.c_str(), limit);
            if ((code != OVariant::Ok && code != OVariant::BadArgument && code != OVariant::NoMemory)
                || (v.isValid() && v.size() > OVariant::MaxStringSize))
                std::abort();
            break;
        }
        case 4: {
            const std::size_t n = std::min<std::size_t>(std::size_t(end - p), 512);
            v.setBinary(p, std::uint32_t(n));
            p += n;
            break;
        }
        case 5: v = other; break;
        case 6: v = OVariant(other); break;
        case 7: v = std::move(other); break;
        case 8:
            if ((v == other) == (v != other))
                std::abort();
            break;
        case 9: v.clear(); break;
        case 10: {
            const int code = int(take32(p, end) % 300);
            try {
                const QVariant q = (op & 1) ? QVariant(QString::fromUtf8(reinterpret_cast<const char*>(p),
                                                                         int(std::min<std::size_t>(end - p, 64))))
                                            : QVariant(int(code * 7));
                v = JsonCodec::convertQVariantToOVariant(q, code);
            } catch (ConverterException* e) {
                delete e;
            }
            break;
        }
        case 11:
            try {
                JsonCodec::convertOVariantToQVariant(v);
            } catch (ConverterException* e) {
                delete e;
            }
            break;
        }
    }
    return 0;
}
