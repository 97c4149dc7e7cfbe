#pragma once

#include <QString>
#include <string>
#include <string_view>

// Bytes become text one byte per character and back, never through UTF-8:
// datagrams, SSIDs and files keep every byte value.

// Latin-1: byte n is character U+00nn.
QString BytesToText(std::string_view bytes);
// Inverse of BytesToText; characters above U+00FF become '?'.
std::string TextToBytes(const QString& text);

// The 8-bit code page of the user's PC: Windows-1252 for 0x80..0x9F, Latin-1 otherwise.
// Every text shown from device or system bytes (server list, captions, adapter names,
// SSIDs) goes through it, one character per byte, so positions are kept.
QChar AnsiByteToChar(char byte);
QString AnsiBytesToText(std::string_view bytes);
