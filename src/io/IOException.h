#pragma once

#include "object/Exception.h"
#include "types/String.h"

namespace vardel::io {

// Root of the failures of the file layer. Made without a message it carries "IOException".
class IOException : public object::Exception {
    VARDEL_CLASS_PATH(object::Exception, IOException)

    IOException();
    // An exception of the file layer carrying message.
    explicit IOException(const char* message);

    // "IOException".
    types::String getName() const override;

    // Throws the exception, with its fixed message, that stands for the calling thread's last
    // system error code; a plain IOException for codes without a more specific meaning.
    [[noreturn]] static void throwLastError();
};

// The family, each made with the message of the system error it stands for.
VARDEL_EXCEPTION(FileNotFoundException, IOException);
VARDEL_EXCEPTION(FileExistsException, IOException);
VARDEL_EXCEPTION(DiskFullException, IOException);
VARDEL_EXCEPTION(FileWriteException, IOException);
VARDEL_EXCEPTION(FileReadException, IOException);
VARDEL_EXCEPTION(FileOpenException, IOException);
VARDEL_EXCEPTION(FileSeekException, IOException);
// Thrown by a seek whose mode is not one of the three origins.
VARDEL_EXCEPTION(IllegalPositionModeException, FileSeekException);

} // namespace vardel::io
