# SPDX-License-Identifier: GPL-3.0-or-later
# Installing under any prefix as Debian keeps games: the programs in games/, their archives and
# default data in share/games/kindlewisp/game/ (the programs find them from their own folder, so the
# prefix can move), and what the desktop and a package need: a desktop entry, AppStream metadata,
# the icon, manual pages, the copyright file and the change log. CPack builds the Debian package
# from the same rules.
set(KW_HOMEPAGE "" CACHE STRING
    "The game's home page (https://HOST/...), with the screenshots under HOMEPAGE/screenshots/; empty: none is named")
set(KW_CONTACT "Kindlewisp local build <nobody@kindlewisp.invalid>" CACHE STRING
    "Who answers for the package, as \"Name <address>\"; the default's reserved domain says that no one was named")
include(cmake/Release.cmake)

# The AppStream id: the home page's host in reverse (www. dropped), then kindlewisp, in at least
# three parts. Without a home page, the reserved domain kindlewisp.invalid stands for it, which no
# one can own: invalid.kindlewisp.Kindlewisp.
set(origin kindlewisp.invalid)
set(KW_APPSTREAM_URL "")
set(KW_APPSTREAM_SCREENSHOTS "")
if(KW_HOMEPAGE)
  if(NOT KW_HOMEPAGE MATCHES "^https?://([A-Za-z0-9.-]+)(:[0-9]+)?(/.*)?$")
    message(FATAL_ERROR "KW_HOMEPAGE is an http or https address, not \"${KW_HOMEPAGE}\"")
  endif()
  string(TOLOWER ${CMAKE_MATCH_1} origin)
  string(REGEX REPLACE "^www\\." "" origin ${origin})
  string(REGEX REPLACE "/$" "" home ${KW_HOMEPAGE})
  set(KW_APPSTREAM_URL "  <url type=\"homepage\">${home}</url>\n")
  set(KW_APPSTREAM_SCREENSHOTS "  <screenshots>\n")
  # The pictures scripts/screenshots takes, by name and caption.
  foreach(shot "title:The title screen" "play:Burning a group of three on the first level"
               "tutorial:The tutorial explains each kind of orb")
    string(REGEX MATCH "^([a-z]+):(.*)$" shot "${shot}")
    if(CMAKE_MATCH_1 STREQUAL title)
      string(APPEND KW_APPSTREAM_SCREENSHOTS "    <screenshot type=\"default\">\n")
    else()
      string(APPEND KW_APPSTREAM_SCREENSHOTS "    <screenshot>\n")
    endif()
    string(APPEND KW_APPSTREAM_SCREENSHOTS "      <caption>${CMAKE_MATCH_2}</caption>\n"
           "      <image type=\"source\" width=\"640\" height=\"480\">${home}/screenshots/${CMAKE_MATCH_1}.png</image>\n"
           "    </screenshot>\n")
  endforeach()
  string(APPEND KW_APPSTREAM_SCREENSHOTS "  </screenshots>\n")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${home})
endif()
string(REPLACE "-" "_" id_parts ${origin})
string(REPLACE "." ";" id_parts ${id_parts})
list(REVERSE id_parts)
list(GET id_parts -1 last)
if(NOT last STREQUAL kindlewisp)
  list(APPEND id_parts kindlewisp)
endif()
list(LENGTH id_parts count)
if(count LESS 3)
  list(APPEND id_parts Kindlewisp)
endif()
list(JOIN id_parts . KW_APP_ID)

set(KW_DIST ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/kindlewisp.metainfo.xml.in ${KW_DIST}/${KW_APP_ID}.metainfo.xml @ONLY)
file(CONFIGURE OUTPUT ${KW_DIST}/doc/changelog CONTENT "${KW_DEBIAN_CHANGELOG}")
set(KW_MAN_PAGES kindlewisp kindlewisp-level kindlewisp-editor)
foreach(page ${KW_MAN_PAGES})
  configure_file(dist/${page}.6.in ${KW_DIST}/man/${page}.6 @ONLY)
endforeach()

# Compressed as Debian wants them: gzip at its best, with no name or time stamp inside.
set(compressed)
foreach(file doc/changelog man/kindlewisp.6 man/kindlewisp-level.6 man/kindlewisp-editor.6)
  add_custom_command(OUTPUT ${KW_DIST}/${file}.gz
    COMMAND gzip -9nkf ${KW_DIST}/${file}
    DEPENDS ${KW_DIST}/${file} COMMENT "Compressing ${file}")
  list(APPEND compressed ${KW_DIST}/${file}.gz)
endforeach()
add_custom_target(kw_dist ALL DEPENDS ${compressed})

set(KW_INSTALLED_GAME share/games/kindlewisp/game)
# The programs stay together, as in the built game folder: the game starts its helpers from its own folder.
install(TARGETS kindlewisp kindlewisp-level kindlewisp-editor RUNTIME DESTINATION games)
# Debian's packages carry no compiler notes in their programs; its strip helper drops them too.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program kindlewisp kindlewisp-level kindlewisp-editor)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/\${program}\")
    endforeach()
  endif()")
install(FILES ${KW_GAME_DIR}/game/images/kwgfx.pak DESTINATION ${KW_INSTALLED_GAME}/images)
install(FILES ${KW_GAME_DIR}/game/levels/kwlvl.pak DESTINATION ${KW_INSTALLED_GAME}/levels)
install(FILES ${KW_GAME_DIR}/game/sounds/kwsfx.pak DESTINATION ${KW_INSTALLED_GAME}/sounds)
# Each player's first start copies these into their own folder.
install(FILES data/game.dat data/scores.dat DESTINATION ${KW_INSTALLED_GAME}/data)

install(FILES dist/kindlewisp.desktop DESTINATION share/applications)
install(FILES ${KW_DIST}/${KW_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${KW_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/content/icon-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kindlewisp.png)
endforeach()
foreach(page ${KW_MAN_PAGES})
  install(FILES ${KW_DIST}/man/${page}.6.gz DESTINATION share/man/man6)
endforeach()
install(FILES dist/copyright ${KW_DIST}/doc/changelog.gz DESTINATION share/doc/kindlewisp)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kindlewisp)
set(CPACK_PACKAGE_VENDOR "The Kindlewisp developers")
set(CPACK_PACKAGE_CONTACT ${KW_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "little dragon burns rising columns of coloured orbs")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A dragon flies along the top of the play field and shoots coloured orbs down"
  "into columns that creep upwards. Three of a colour burn, chains score bonuses,"
  "white orbs release bonuses to catch. More than thirty levels, a tutorial, and"
  "a table of the best scores kept for each player.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from what the program links; the font is the one its "Arial" resolves to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
include(CPack)
