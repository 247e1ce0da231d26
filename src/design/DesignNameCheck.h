#pragma once

#include <QString>

namespace design {

// Whether a name typed for saving a design can become its file "perso/<name>.car". The name is
// joined to the folder as typed, so a separator ("/" or "\") or "." and ".." would write outside
// the designs' folder; control characters make names nobody can type again; and a dotted name
// ("v1.2") would be listed and printed as another design, since the list shows a design's file
// name up to its first dot. Such names are refused, as is an empty one.
bool AcceptableDesignName(const QString& name);

} // namespace design
