#pragma once

#include <QString>

#include "text/Text.h"

// The one place where the host's GBK texts meet Qt's UTF-16 strings.
namespace lumetra {

QString ToQString(const Text& gbk);
Text ToGbk(const QString& text);

}  // namespace lumetra
