# The compiled help lies beside the built program and holds every page of the help.
# Usage: cmake -DHELP=<path of mirelune.chm> -P CheckHelpFile.cmake
if(NOT EXISTS "${HELP}")
  message(FATAL_ERROR "no help file at ${HELP}")
endif()
file(READ "${HELP}" head LIMIT 4 HEX)
if(NOT head STREQUAL "49545346")  # "ITSF"
  message(FATAL_ERROR "${HELP} is not a compiled help file")
endif()
# The directory of a compiled help file names its pages in plain text.
file(STRINGS "${HELP}" names REGEX "\\.html")
string(JOIN " " names ${names})
foreach(page index fenetre listes options boutons apropos)
  string(FIND "${names}" "/${page}.html" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${HELP} lacks the page ${page}.html")
  endif()
endforeach()
