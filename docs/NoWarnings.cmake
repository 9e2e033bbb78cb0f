# Fails, printing them, when Doxygen's log holds warnings.
file(READ ${LOG} warnings)
if(NOT warnings STREQUAL "")
  message(FATAL_ERROR "Doxygen warnings about the public headers:\n${warnings}")
endif()
