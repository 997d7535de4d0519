# SPDX-License-Identifier: GPL-3.0-or-later
# Creates the game folder's directories and copies the default data files where they are missing.
file(MAKE_DIRECTORY ${DST}/images ${DST}/levels ${DST}/sounds ${DST}/data ${DST}/override)
foreach(name game.dat scores.dat)
  if(NOT EXISTS ${DST}/data/${name})
    file(COPY ${SRC}/${name} DESTINATION ${DST}/data)
  endif()
endforeach()
