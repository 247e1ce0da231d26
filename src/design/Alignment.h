#pragma once

#include <vector>

namespace design {

class TDesignObject;

// The commands of the alignment palette. The reference is the first object of the selection
// (the one attached first); the others follow in selection order.
enum class TAlignCommand {
    Lefts,           // each other object's left := the reference's left
    HorizontalCentres,
    CentreAcross,    // every object, the reference too, centred across the label
    SpaceHorizontally,
    Rights,
    Tops,
    VerticalCentres,
    CentreDown,      // every object centred down the label
    SpaceVertically,
    Bottoms,
};

// The fewest selected objects a command needs: one to centre on the label, two for the others.
int MinimumSelection(TAlignCommand command);

// Applies a command to the selection (design pixels, label of labelWidth x labelHeight; halves
// truncate toward zero). Equal spacing lays the objects out in selection order from the first
// one's edge with equal gaps up to the last one's far edge, so objects selected out of their
// order on the label can cross. Fewer objects than the command needs change nothing. True when
// at least one object moved.
bool AlignObjects(const std::vector<TDesignObject*>& selection, TAlignCommand command, int labelWidth,
                  int labelHeight);

} // namespace design
