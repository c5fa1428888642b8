// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "native_text.h"

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t escapedBytes = 0xDC00; // + the byte, for bytes 0x80 to 0xFF

void appendCodePoint(QString& text, char32_t code) {
    if (QChar::requiresSurrogates(code)) {
        text += QChar(QChar::highSurrogate(code));
        text += QChar(QChar::lowSurrogate(code));
    } else {
        text += QChar(char16_t(code));
    }
}

void appendUtf8(QByteArray& bytes, char32_t code) {
    if (code < 0x80) {
        bytes += char(code);
        return;
    }
    const int length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static constexpr unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    bytes += char(lead[length] | code >> 6 * (length - 1));
    for (int k = length - 2; k >= 0; --k)
        bytes += char(0x80 | ((code >> 6 * k) & 0x3F));
}

// The code point at text[*i], a lone surrogate as itself; moves *i past it.
char32_t nextCodePoint(QStringView text, qsizetype* i) {
    const QChar c = text[(*i)++];
    if (c.isHighSurrogate() && *i < text.size() && text[*i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[(*i)++]);
    return c.unicode();
}

QString escaped(char32_t code) {
    const int width = code < 0x100 ? 2 : code < 0x10000 ? 4 : 8;
    const char16_t kind = width == 2 ? u'x' : width == 4 ? u'u' : u'U';
    return u"\\"_s + QChar(kind) + QString::number(uint(code), 16).rightJustified(width, u'0');
}

bool isEscapedByte(char32_t code) {
    return code >= escapedBytes + 0x80 && code <= escapedBytes + 0xFF;
}

} // namespace

QString fromNative(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char first = b[i];
        const int length = first < 0x80                     ? 1
                           : first >= 0xC2 && first <= 0xDF ? 2
                           : first >= 0xE0 && first <= 0xEF ? 3
                           : first >= 0xF0 && first <= 0xF4 ? 4
                                                            : 0;
        static constexpr unsigned char payload[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000}; // shorter is overlong
        char32_t code = first & payload[length];
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (b[i + k] & 0xC0) == 0x80;
            code = code << 6 | (b[i + k] & 0x3F);
        }
        valid = valid && code >= least[length] && code <= 0x10FFFF &&
                !(code >= 0xD800 && code <= 0xDFFF);
        if (valid) {
            appendCodePoint(text, code);
            i += length;
        } else {
            text += QChar(char16_t(escapedBytes + first));
            ++i;
        }
    }
    return text;
}

std::optional<QByteArray> toNative(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char32_t code = nextCodePoint(text, &i);
        if (isEscapedByte(code))
            bytes += char(code - escapedBytes);
        else if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        else
            appendUtf8(bytes, code);
    }
    return bytes;
}

QString shown(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char32_t code = nextCodePoint(text, &i);
        if (isEscapedByte(code)) {
            result += escaped(code - escapedBytes);
            continue;
        }
        switch (QChar::category(code)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            result += escaped(code);
            break;
        default:
            appendCodePoint(result, code);
        }
    }
    return result;
}
