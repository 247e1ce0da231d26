#include "imaging/ImagingErrors.h"

namespace imaging {

QString imagingMessage(int id)
{
    switch (id) {
    case msgInputImageEmpty: return QStringLiteral("Input image is empty");
    case msgCantAllocate: return QStringLiteral("Can't allocate memory");
    case msgReading: return QStringLiteral("Reading ");
    case msgWriting: return QStringLiteral("Writing ");
    case msgAcquiring: return QStringLiteral("Aquiring Image ");
    case msgReducingColors: return QStringLiteral("Reducing colors ");
    case msgIncreasingColors: return QStringLiteral("Increasing colors ");
    case msgRotating: return QStringLiteral("Rotating Image ");
    case msgTransition: return QStringLiteral("Transition Image ");
    case msgCantLoad: return QStringLiteral("Can't load ");
    case msgSearchPath:
        return QStringLiteral(". Make sure its located in the application's searchpath.");
    case msgOutOfResources:
        return QStringLiteral("Out of resources. Close some windows and try again");
    case msgWrongDllName: return QStringLiteral("Wrong dll Name in DLL96V1");
    case msgLibraryException:
        return QStringLiteral("An exception error occured in the imaging dll. We recommend to exit "
                              "the application and to restart it by clicking its icon!");
    default: return {};
    }
}

} // namespace imaging
