#include "CardLayout.h"

#include <algorithm>
#include <set>
#include <utility>

namespace database {

QPoint DragCaption(QPoint captionPos, QPoint pressedAt, QPoint mouseAt)
{
    return {captionPos.x() + mouseAt.x() - pressedAt.x(),
            std::max(CardToolbarBottom, captionPos.y() + mouseAt.y() - pressedAt.y())};
}

QPoint SnapCaption(QPoint captionPos)
{
    return {captionPos.x() / 8 * 8, captionPos.y() / 8 * 8};
}

std::vector<int> CardTabOrder(const TCardLayout& card)
{
    std::vector<int> ordered;
    std::vector<int> passedOver;
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < MaxFields; ++i) {
        const auto k = static_cast<size_t>(i);
        if (seen.insert({card.Top[k], card.Left[k]}).second)
            ordered.push_back(i);
        else
            passedOver.push_back(i);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [&card](int a, int b) {
        const auto ka = static_cast<size_t>(a);
        const auto kb = static_cast<size_t>(b);
        return std::pair(card.Top[ka], card.Left[ka]) < std::pair(card.Top[kb], card.Left[kb]);
    });
    ordered.insert(ordered.end(), passedOver.begin(), passedOver.end());
    return ordered;
}

} // namespace database
