# Installs the project with prefix /usr below STAGE and checks that each program comes with
# what the system looks for: the binary, its desktop entry, icons, AppStream data and manual
# page, valdrix-cli's completion, the udev rule, the service unit and its options, the copyright
# and the changelog; systemd-analyze verifies the unit where it is installed.
# cmake -DBUILD_DIR=... -DSTAGE=... -DUDEV_RULES_DIR=... -DSYSTEMD_UNIT_DIR=...
#       "-DICON_SIZES=16;32" -DMAN_PAGES=ON
#       -P check_install.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(missing)
function(expect path)
  if(NOT EXISTS ${STAGE}/usr/${path})
    set(missing "${missing} ${path}" PARENT_SCOPE)
  endif()
endfunction()

expect(${UDEV_RULES_DIR}/70-valdrix.rules)
expect(${SYSTEMD_UNIT_DIR}/valdrix-serve.service)
if(NOT EXISTS ${STAGE}/etc/default/valdrix-serve)
  set(missing "${missing} /etc/default/valdrix-serve")
endif()
expect(share/doc/valdrix/copyright)
expect(share/doc/valdrix/changelog.gz)
expect(bin/valdrix-cli)
expect(share/bash-completion/completions/valdrix-cli)
if(MAN_PAGES)
  foreach(program valdrix quennet valdrix-cli)
    expect(share/man/man1/${program}.1.gz)
  endforeach()
endif()
foreach(product valdrix quennet)
  expect(bin/${product})
  expect(share/applications/${product}.desktop)
  expect(share/metainfo/org.valdrix.${product}.metainfo.xml)
  expect(share/icons/hicolor/scalable/apps/${product}.svg)
  foreach(size ${ICON_SIZES})
    expect(share/icons/hicolor/${size}x${size}/apps/${product}.png)
  endforeach()
  file(STRINGS ${STAGE}/usr/share/applications/${product}.desktop entry)
  if(NOT "Exec=${product}" IN_LIST entry OR NOT "Icon=${product}" IN_LIST entry)
    message(FATAL_ERROR "${product}.desktop does not start ${product} with its icon")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed:${missing}")
endif()

# The rule opens both of the chip's vendor ids to the user at the seat.
file(STRINGS ${STAGE}/usr/${UDEV_RULES_DIR}/70-valdrix.rules rules REGEX "uaccess")
foreach(vendor 4348 1a86)
  if(NOT rules MATCHES "ATTR{idVendor}==\"${vendor}\", ATTR{idProduct}==\"5537\"")
    message(FATAL_ERROR "the udev rule does not give ${vendor}:5537 to the user at the seat")
  endif()
endforeach()

# The service unit as systemd reads it, on a copy that starts the installed program.
find_program(SYSTEMD_ANALYZE systemd-analyze)
if(SYSTEMD_ANALYZE)
  file(READ ${STAGE}/usr/${SYSTEMD_UNIT_DIR}/valdrix-serve.service unit)
  string(REPLACE "/usr/bin/valdrix-cli" "${STAGE}/usr/bin/valdrix-cli" unit "${unit}")
  file(WRITE ${STAGE}/verify/valdrix-serve.service "${unit}")
  execute_process(COMMAND ${SYSTEMD_ANALYZE} verify --man=no ${STAGE}/verify/valdrix-serve.service
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "valdrix-serve")
    message(FATAL_ERROR "systemd-analyze verify finds fault with valdrix-serve.service:\n${output}")
  endif()
else()
  message(STATUS "systemd-analyze not found: the service unit is not verified")
endif()
