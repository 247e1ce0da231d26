#include "DesignNameCheck.h"

namespace design {

bool AcceptableDesignName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u'.' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace design
