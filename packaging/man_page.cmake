# Writes a program's manual page, gzipped, from its own --help and --version, so the page never
# says other than the program does. help2man is given a stand-in that prints the texts with the
# program's plain name in place of the path it was started by, and usage lines it understands.
# With COMMANDS_SECTION, each command's own --help (from the "Commands:" list) joins the page.
# cmake -DPROGRAM=path -DNAME=valdrix-cli -DWHATIS=... -DVERSION=1.0 [-DCOMMANDS_SECTION=ON]
#       -DWORK=dir -DOUTPUT=valdrix-cli.1.gz -P man_page.cmake
cmake_minimum_required(VERSION 3.25)
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

# The GUI programs read their options before they need a display; offscreen keeps it so.
set(ENV{QT_QPA_PLATFORM} offscreen)
# In a sanitizer build the leak report at exit is the tests' business, not the page's.
set(ENV{ASAN_OPTIONS} "detect_leaks=0:$ENV{ASAN_OPTIONS}")

function(help_text out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help RESULT_VARIABLE result
                  OUTPUT_VARIABLE text ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NAME} ${ARGN} --help failed (${result}): ${error}")
  endif()
  string(REPLACE "${PROGRAM}" "${NAME}" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text to stand as it is on the page: backslashes, minus signs and lines that would read as
# requests escaped.
function(groff_literal out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_text(help)
# help2man takes the first usage line, and further ones that start with "or:".
string(REGEX REPLACE "\n[ ]+(${NAME} )" "\n  or: \\1" help "${help}")
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/help.txt "${help}")
file(WRITE ${WORK}/version.txt "${NAME} ${VERSION}\n")
file(WRITE ${WORK}/${NAME}
     "#!/bin/sh\ncase \"$1\" in\n  --help) cat '${WORK}/help.txt' ;;\n"
     "  --version) cat '${WORK}/version.txt' ;;\n  *) exit 2 ;;\nesac\n")
file(CHMOD ${WORK}/${NAME} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(others valdrix quennet valdrix-cli)
list(REMOVE_ITEM others ${NAME})
list(TRANSFORM others REPLACE "-" "\\\\-")
list(TRANSFORM others APPEND " (1)")
list(JOIN others ",\n.BR " see_also)
set(include "[SEE ALSO]\n.BR ${see_also}\n")
string(APPEND include "[FILES]\n.TP\n.I /usr/lib/udev/rules.d/70\\-valdrix.rules\n"
       "lets the user logged in at the machine open the instrument on USB without root (below\n"
       ".I /usr/local\nwhen installed from the build tree)\n")
if(COMMANDS_SECTION)
  string(REGEX MATCH "\nCommands:\n(([ ]+[^\n]*\n)+)" list "${help}")
  string(REPLACE "\n" ";" lines "${CMAKE_MATCH_1}")
  string(APPEND include "[COMMANDS IN DETAIL]\n")
  foreach(line ${lines})
    if(NOT line MATCHES "^  ([a-z][a-z-]*) ")
      continue()
    endif()
    set(command ${CMAKE_MATCH_1})
    help_text(command_help ${command})
    groff_literal(command_help "${command_help}")
    string(APPEND include ".SS ${command}\n.nf\n${command_help}.fi\n")
  endforeach()
endif()
file(WRITE ${WORK}/include.h2m "${include}")

execute_process(COMMAND ${HELP2MAN} --no-info --section=1 --name=${WHATIS}
                        --version-string=${VERSION} --include=${WORK}/include.h2m
                        --output=${WORK}/${NAME}.1 ${WORK}/${NAME}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${NAME}: ${result}")
endif()
# -n: no name or time stamp inside, so the same page gives the same file.
execute_process(COMMAND ${GZIP} -9nc ${WORK}/${NAME}.1 OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${NAME}.1: ${result}")
endif()
