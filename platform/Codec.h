#pragma once

#include <QByteArray>
#include <QString>

// CP932 (Shift-JIS as Windows writes it, with the NEC and IBM extensions). Every file, socket and
// byte-counting rule of the programs goes through here.
namespace platform::Codec {

// Look-alikes are mapped first; a character CP932 still cannot hold is written as '?'.
QByteArray toCp932(const QString& text);
// Bytes that are no CP932 character decode to a substitute character (a lone lead byte at the very
// end is dropped); never fails.
QString fromCp932(const QByteArray& bytes);

// Length of the text in CP932 bytes (half-width katakana 1, kanji 2).
int byteLength(const QString& text);

// Compares two texts by their CP932 bytes (unsigned), as the programs sort and compare names.
// Negative, zero or positive like strcmp.
int compareBytes(const QString& a, const QString& b);

// The characters of the text that CP932 cannot hold, each once, in order of appearance
// (after look-alike mapping); empty when the whole text can be written.
QString unwritableChars(const QString& text);
bool canEncode(const QString& text);

// Maps common look-alikes that CP932 holds under another code (wave dash U+301C to U+FF5E,
// minus U+2212 to U+FF0D, ...) so that typed or pasted text can be written.
QString mapLookAlikes(const QString& text);

// How many CP932 encoders were opened so far (one per thread that encodes): opening one is costly.
int encoderOpenings();

} // namespace platform::Codec
