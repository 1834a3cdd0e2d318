#include "ToolbarMarkup.h"

namespace kestrin {

QByteArray attributeValue(const QString &value)
{
    QByteArray out = value.toUtf8();
    return out.replace('&', "&amp;").replace('<', "&lt;").replace('\'', "&#39;").replace('"', "&quot;");
}

Tags toolbarTags(int button, const QString &chosen)
{
    switch (button) {
    case 8: return {"<b>", "</b>"};
    case 9: return {"<i>", "</i>"};
    case 10: return {"<u>", "</u>"};
    case 12: return {"<font face='" + attributeValue(chosen) + "'>", "</font>"};
    case 13: return {"<font color='#" + attributeValue(chosen) + "'>", "</font>"};
    case 14: return {attributeValue(chosen), {}, false};
    case 16: return {"<p align='left'>", "</p>"};
    case 17: return {"<center>", "</center>"};
    case 18: return {"<p align='right'>", "</p>"};
    case 20: return {"<br>", {}, false};
    default: return {};
    }
}

} // namespace kestrin
