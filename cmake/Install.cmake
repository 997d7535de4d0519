# SPDX-License-Identifier: GPL-3.0-or-later
# Installing under any prefix: the program in bin/, its archives and default data in
# share/kindlewisp/game/ (the program finds them from its own folder, so the prefix can move), and
# what the desktop needs to list it: a desktop entry, AppStream metadata, the icon and a manual page.
# CPack builds the Debian package from the same rules.
set(KW_INSTALLED_GAME share/kindlewisp/game)

install(TARGETS kindlewisp kindlewisp-level kindlewisp-editor RUNTIME DESTINATION bin)
install(FILES ${KW_GAME_DIR}/game/images/kwgfx.pak DESTINATION ${KW_INSTALLED_GAME}/images)
install(FILES ${KW_GAME_DIR}/game/levels/kwlvl.pak DESTINATION ${KW_INSTALLED_GAME}/levels)
install(FILES ${KW_GAME_DIR}/game/sounds/kwsfx.pak DESTINATION ${KW_INSTALLED_GAME}/sounds)
# Each player's first start copies these into their own folder.
install(FILES data/game.dat data/scores.dat DESTINATION ${KW_INSTALLED_GAME}/data)

install(FILES dist/kindlewisp.desktop DESTINATION share/applications)
install(FILES dist/org.example.kindlewisp.metainfo.xml DESTINATION share/metainfo)
foreach(size ${KW_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/content/icon-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kindlewisp.png)
endforeach()

set(KW_MAN_PAGE ${CMAKE_BINARY_DIR}/kindlewisp.6.gz)
add_custom_command(OUTPUT ${KW_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/dist/kindlewisp.6 ${CMAKE_BINARY_DIR}/kindlewisp.6
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/kindlewisp.6
  DEPENDS ${CMAKE_SOURCE_DIR}/dist/kindlewisp.6 COMMENT "Compressing the manual page")
add_custom_target(kw_man ALL DEPENDS ${KW_MAN_PAGE})
install(FILES ${KW_MAN_PAGE} DESTINATION share/man/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kindlewisp)
set(CPACK_PACKAGE_VENDOR "The Kindlewisp developers")
set(CPACK_PACKAGE_CONTACT "The Kindlewisp developers <kindlewisp@example.org>")
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
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kindlewisp.example.org)
# The libraries come from what the program links; the font is the one its "Arial" resolves to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
include(CPack)
