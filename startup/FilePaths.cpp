#include "startup/FilePaths.h"

#include <QFile>

std::string ToFilePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromFilePath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
