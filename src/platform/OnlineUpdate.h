// Stand-in for the product's update component, whose CRDecryptData decodes
// the server login kept in the "ServerInfo" section of the server
// configuration file (installations below version "14.1").
//
// Our encoding, shared with the tool that lays out a stand-in installation:
// the text's bytes in the ANSI code page, each byte XOR-ed with 0x5A, written
// as upper-case hexadecimal, two digits per byte ("sa" -> "293B"; "" -> "").
// Decoding accepts either case of the digits. UI thread only.
#pragma once

#include <QString>

class OnlineUpdate {
public:
    // The decoded text. Raises PnwError 5 when the text is not an even
    // number of hexadecimal digits.
    static QString CRDecryptData(const QString &encoded);
    // The encoded text of a login name or password.
    static QString CREncryptData(const QString &text);
};
