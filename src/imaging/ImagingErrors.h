#pragma once

#include "platform/Errors.h"

#include <QString>

// The imaging messages: English only, never translated, as the imaging layer has always shown
// them, and the one exception class of that layer.
namespace imaging {

enum ImagingMessage {
    msgInputImageEmpty = 65200,
    msgCantAllocate = 65201,
    msgReading = 65202,
    msgWriting = 65203,
    msgAcquiring = 65204,
    msgReducingColors = 65205,
    msgIncreasingColors = 65206,
    msgRotating = 65207,
    msgTransition = 65208,
    msgCantLoad = 65209,
    msgSearchPath = 65210,
    msgOutOfResources = 65211,
    msgWrongDllName = 65212,
    msgLibraryException = 65213,
};

// The text of one of the messages above; empty for any other number.
QString imagingMessage(int id);

class ErrorInvalid : public platform::Exception {
public:
    using platform::Exception::Exception;
};

} // namespace imaging
