#pragma once

// File names cross between Qt, which holds them as UTF-16, and the program's routines, which take
// 8-bit strings in the system's encoding for file names.

#include <QFile>
#include <QString>

#include <string>

inline std::string ToLocalFileName(const QString& FileName) {
    return QFile::encodeName(FileName).toStdString();
}

inline QString FromLocalFileName(const std::string& FileName) {
    return QFile::decodeName(QByteArray::fromStdString(FileName));
}
