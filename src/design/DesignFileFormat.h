#pragma once

#include "DesignModel.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform {
class TextFileReader;
}

// The design file: one value per line, CR LF. The header (DesignHeader.h), then eight sections in
// a fixed order, one per kind of object, each a count followed by that many records. The same
// format serves the saved designs ("perso/<name>.car"), the transient file that regroups objects
// by kind ("perso/temp.car") and the design clipboard ("rarozuruz.ppa").
namespace design {

// Which objects a save writes: the whole design, or the selection in its attach order.
enum class TDesignScope { WholeDesign, Selection };

// Reads a design file into the model through the creation operations. Without `paste` it also
// sets the label size and format from the header. With `paste` the header is read and ignored,
// every object is moved by NbCollages grid steps and attached to the selection. The model is not
// emptied first. On an error the objects read so far stay and the error passes on. Positions and
// sizes beyond 10 m (MaxDesignPixels), before or after the paste offset, are conversion errors
// naming the file and line.
void LoadDesign(TDesignModel& model, const QString& path, bool paste, int gridX = 8, int gridY = 8);
void LoadDesignFrom(TDesignModel& model, platform::TextFileReader& reader, bool paste,
                    int gridX = 8, int gridY = 8);

// The bytes of a design file for the whole model or the given selection.
QByteArray DesignFileBytes(const TDesignModel& model, TDesignScope scope,
                           const std::vector<TDesignObject*>& selection = {});
// Writes the file through a temporary: it is replaced whole or not at all.
void SaveDesign(const TDesignModel& model, const QString& path, TDesignScope scope,
                const std::vector<TDesignObject*>& selection = {});

} // namespace design
