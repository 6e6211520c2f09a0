# Installs the project with prefix /usr below STAGE and checks that each program comes with
# what the system looks for: the binary, its desktop entry and icons, and the udev rule.
# cmake -DBUILD_DIR=... -DSTAGE=... -DUDEV_RULES_DIR=... "-DICON_SIZES=16;32" -P check_install.cmake
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
foreach(product valdrix quennet)
  expect(bin/${product})
  expect(share/applications/${product}.desktop)
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
