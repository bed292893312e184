#include "db/sql_functions.h"

#include "db/text_collation.h"

#include "text/format.h"

#include <sqlite3.h>

#include <QStringView>
#include <QVariant>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace tarvela::db {

namespace {

std::vector<char32_t> foldedCodePoints(const QString& text) {
    const QList<uint> ucs4 = text.toCaseFolded().toUcs4();
    return std::vector<char32_t>(ucs4.begin(), ucs4.end());
}

// Iterative wildcard match with single backtracking point for "%".
bool matchFolded(const std::vector<char32_t>& p, const std::vector<char32_t>& t, char32_t escape,
                 bool hasEscape) {
    size_t pi = 0;
    size_t ti = 0;
    size_t starP = std::string::npos;
    size_t starT = 0;
    while (ti < t.size()) {
        if (pi < p.size()) {
            const char32_t pc = p[pi];
            if (hasEscape && pc == escape && pi + 1 < p.size()) {
                if (p[pi + 1] == t[ti]) {
                    pi += 2;
                    ++ti;
                    continue;
                }
            } else if (pc == U'%') {
                starP = pi++;
                starT = ti;
                continue;
            } else if (pc == U'_' || pc == t[ti]) {
                ++pi;
                ++ti;
                continue;
            }
        }
        if (starP == std::string::npos)
            return false;
        pi = starP + 1;
        ti = ++starT;
    }
    while (pi < p.size() && p[pi] == U'%')
        ++pi;
    return pi == p.size();
}

QString textArg(sqlite3_value* v) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(data, sqlite3_value_bytes(v));
}

QVariant variantArg(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(textArg(v));
    }
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void formatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc == 0 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QVariant value = variantArg(argv[0]);
    if (argc < 2 || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        resultText(ctx, text::formatValue(value, QString(), text::workstationDecimalSeparator()));
        return;
    }
    resultText(ctx,
               text::formatValue(value, textArg(argv[1]), text::workstationDecimalSeparator()));
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.front();
    }
    sqlite3_result_int(ctx, likeMatches(textArg(argv[0]), textArg(argv[1]), escape) ? 1 : 0);
}

bool isAscii(const void* data, int length) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int i = 0; i < length; ++i)
        if (bytes[i] >= 0x80)
            return false;
    return true;
}

int asciiFold(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The collation keys of every code point of the Latin blocks (below U+0250): its base letters and
// its folded form. Folding, decomposition and the dropping of accents work character by
// character there, so a text's keys are its characters' keys one after the other.
constexpr char32_t kLatinEnd = 0x250;

struct LatinKeys {
    std::array<QString, kLatinEnd> base;
    std::array<QString, kLatinEnd> folded;
};

const LatinKeys& latinKeys() {
    static const LatinKeys keys = [] {
        LatinKeys k;
        for (char32_t c = 0; c < kLatinEnd; ++c) {
            const QString text(QChar(static_cast<char16_t>(c)));
            k.base[c] = baseLetters(text);
            k.folded[c] = text.toCaseFolded();
        }
        return k;
    }();
    return keys;
}

// Reads a UTF-8 text's collation key (base letters or folded form) one UTF-16 unit at a time.
class KeyCursor {
public:
    KeyCursor(const unsigned char* text, int length, const std::array<QString, kLatinEnd>& keys)
        : text_(text), length_(length), keys_(keys) {}

    // The next unit of the key; -1 at its end, -2 at a character outside the Latin blocks.
    int next() {
        while (offset_ >= key_.size()) {
            if (pos_ >= length_)
                return -1;
            char32_t c = text_[pos_++];
            if (c >= 0x80) {
                if ((c & 0xE0) != 0xC0 || pos_ >= length_ || (text_[pos_] & 0xC0) != 0x80)
                    return -2;
                c = ((c & 0x1F) << 6) | (text_[pos_++] & 0x3F);
                if (c < 0x80 || c >= kLatinEnd)
                    return -2;
            }
            key_ = QStringView(keys_[c]);
            offset_ = 0;
        }
        return key_[offset_++].unicode();
    }

private:
    const unsigned char* text_;
    int length_;
    const std::array<QString, kLatinEnd>& keys_;
    int pos_ = 0;
    QStringView key_;
    qsizetype offset_ = 0;
};

// Compares two texts' keys up to their first difference; nothing when a character outside the
// Latin blocks comes first.
std::optional<int> compareLatinKeys(const unsigned char* a, int lengthA, const unsigned char* b,
                                    int lengthB, const std::array<QString, kLatinEnd>& keys) {
    KeyCursor x(a, lengthA, keys);
    KeyCursor y(b, lengthB, keys);
    for (;;) {
        const int p = x.next();
        const int q = y.next();
        if (p == -2 || q == -2)
            return std::nullopt;
        if (p != q)
            return p < q ? -1 : 1;
        if (p == -1)
            return 0;
    }
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareUtf8Text(static_cast<const char*>(a), lengthA, static_cast<const char*>(b),
                           lengthB);
}

} // namespace

bool likeMatches(const QString& pattern, const QString& text, QChar escape) {
    const auto p = foldedCodePoints(pattern);
    const auto t = foldedCodePoints(text);
    const char32_t e = escape.isNull() ? 0 : escape.toCaseFolded().unicode();
    return matchFolded(p, t, e, !escape.isNull());
}

// Folded text without its accents: "Ácido" -> "acido"; "ñ" stays a letter of its own, after "n".
QString baseLetters(const QString& text) {
    QString folded = text.toCaseFolded();
    folded.replace(QChar(0x00F1), QStringLiteral("n\uFFFF"));
    const QString decomposed = folded.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out;
}

int compareUtf8Text(const char* a, int lengthA, const char* b, int lengthB) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    if (isAscii(x, lengthA) && isAscii(y, lengthB)) {
        const int common = lengthA < lengthB ? lengthA : lengthB;
        for (int i = 0; i < common; ++i) {
            const int d = asciiFold(x[i]) - asciiFold(y[i]);
            if (d != 0)
                return d;
        }
        return lengthA - lengthB;
    }
    // Spanish names: their keys come from a table, read up to the first difference, not from a
    // decomposition of both whole texts at every comparison.
    const LatinKeys& keys = latinKeys();
    if (const auto primary = compareLatinKeys(x, lengthA, y, lengthB, keys.base)) {
        if (*primary != 0)
            return *primary;
        if (const auto secondary = compareLatinKeys(x, lengthA, y, lengthB, keys.folded))
            return *secondary;
    }
    return compareText(QString::fromUtf8(a, lengthA), QString::fromUtf8(b, lengthB));
}

int compareText(const QString& a, const QString& b) {
    const int primary = QString::compare(baseLetters(a), baseLetters(b), Qt::CaseSensitive);
    if (primary != 0)
        return primary;
    return QString::compare(a.toCaseFolded(), b.toCaseFolded(), Qt::CaseSensitive);
}

int registerSqlFunctions(sqlite3* handle) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_function_v2(handle, "format", -1, SQLITE_UTF8, nullptr, formatFunction,
                                        nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(handle, "like", 2, flags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(handle, "like", 3, flags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_collation_v2(handle, kTextCollation, SQLITE_UTF8, nullptr, collate,
                                         nullptr);
    return rc;
}

} // namespace tarvela::db
