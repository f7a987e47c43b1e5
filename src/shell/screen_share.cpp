#include "shell/screen_share.h"

#include <QScreen>

namespace torvanu {

QSize fitToScreen(const QSize& wanted, const QScreen* screen)
{
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableSize() * kLargestScreenShare);
}

} // namespace torvanu
