#include "Alignment.h"

#include "DesignObjects.h"

namespace design {

namespace {

// One axis of an object: its start (left or top) and its extent (width or height).
struct Axis {
    int TDesignObject::*start;
    int TDesignObject::*extent;
};

constexpr Axis horizontal{&TDesignObject::Left, &TDesignObject::Width};
constexpr Axis vertical{&TDesignObject::Top, &TDesignObject::Height};

bool place(TDesignObject* o, const Axis& axis, int start)
{
    if (o->*axis.start == start)
        return false;
    o->*axis.start = start;
    return true;
}

bool spaceEqually(const std::vector<TDesignObject*>& sel, const Axis& axis)
{
    const TDesignObject* first = sel.front();
    const TDesignObject* last = sel.back();
    long long extents = 0;
    for (const TDesignObject* o : sel)
        extents += o->*axis.extent;
    const long long span = static_cast<long long>(last->*axis.start) + last->*axis.extent - first->*axis.start;
    const int gap = static_cast<int>((span - extents) / static_cast<long long>(sel.size() - 1));
    bool changed = false;
    int at = first->*axis.start;
    for (TDesignObject* o : sel) {
        changed |= place(o, axis, at);
        at = o->*axis.start + o->*axis.extent + gap;
    }
    return changed;
}

} // namespace

int MinimumSelection(TAlignCommand command)
{
    return command == TAlignCommand::CentreAcross || command == TAlignCommand::CentreDown ? 1 : 2;
}

bool AlignObjects(const std::vector<TDesignObject*>& sel, TAlignCommand command, int labelWidth,
                  int labelHeight)
{
    if (static_cast<int>(sel.size()) < MinimumSelection(command))
        return false;
    for (const TDesignObject* o : sel)
        if (o == nullptr)
            return false;
    const TDesignObject& ref = *sel.front();
    bool changed = false;
    const auto others = [&](const Axis& axis, auto startOf) {
        for (std::size_t i = 1; i < sel.size(); ++i)
            changed |= place(sel[i], axis, startOf(*sel[i]));
    };
    switch (command) {
    case TAlignCommand::Lefts:
        others(horizontal, [&](const TDesignObject&) { return ref.Left; });
        break;
    case TAlignCommand::Rights:
        others(horizontal, [&](const TDesignObject& o) { return ref.Left + ref.Width - o.Width; });
        break;
    case TAlignCommand::HorizontalCentres:
        others(horizontal, [&](const TDesignObject& o) { return ref.Left + ref.Width / 2 - o.Width / 2; });
        break;
    case TAlignCommand::Tops:
        others(vertical, [&](const TDesignObject&) { return ref.Top; });
        break;
    case TAlignCommand::Bottoms:
        others(vertical, [&](const TDesignObject& o) { return ref.Top + ref.Height - o.Height; });
        break;
    case TAlignCommand::VerticalCentres:
        others(vertical, [&](const TDesignObject& o) { return ref.Top + ref.Height / 2 - o.Height / 2; });
        break;
    case TAlignCommand::CentreAcross:
        for (TDesignObject* o : sel)
            changed |= place(o, horizontal, (labelWidth - o->Width) / 2);
        break;
    case TAlignCommand::CentreDown:
        for (TDesignObject* o : sel)
            changed |= place(o, vertical, (labelHeight - o->Height) / 2);
        break;
    case TAlignCommand::SpaceHorizontally:
        changed = spaceEqually(sel, horizontal);
        break;
    case TAlignCommand::SpaceVertically:
        changed = spaceEqually(sel, vertical);
        break;
    }
    return changed;
}

} // namespace design
