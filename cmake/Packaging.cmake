# Installation layout and the Debian package.
#
# The program finds its catalogues, description files and help beside its own executable, so
# everything it ships lives in one folder, lib/tarvik under the prefix; bin holds links to the two
# programs. The desktop entry, the software-centre entry, the icons and the study file type go where
# the desktop looks for them.
set(TARVIK_CARPETA_INSTALADA lib/tarvik)
set(TARVIK_LINUX ${CMAKE_SOURCE_DIR}/packaging/linux)

install(TARGETS tarvik tarvik-cli RUNTIME DESTINATION ${TARVIK_CARPETA_INSTALADA})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/dbf/ DESTINATION ${TARVIK_CARPETA_INSTALADA}/dbf PATTERN ".keep" EXCLUDE)
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help/ DESTINATION ${TARVIK_CARPETA_INSTALADA}/help
  FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.hhc" PATTERN "*.png")
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tarvik.chm ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tarvik_en.chm
  DESTINATION ${TARVIK_CARPETA_INSTALADA} OPTIONAL)
# The example studies that the README and the manual follow.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION share/doc/tarvik/examples FILES_MATCHING PATTERN "*.fac")

# Relative links, so that they hold for any prefix and inside the package.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/enlaces)
foreach(programa tarvik tarvik-cli)
  set(enlace ${CMAKE_CURRENT_BINARY_DIR}/enlaces/${programa})
  file(CREATE_LINK ../${TARVIK_CARPETA_INSTALADA}/${programa} ${enlace} SYMBOLIC)
  install(FILES ${enlace} DESTINATION bin)
endforeach()

install(FILES ${TARVIK_LINUX}/tarvik.desktop DESTINATION share/applications)
# What software centres show for the package.
install(FILES ${TARVIK_LINUX}/example.keltu.tarvik.metainfo.xml DESTINATION share/metainfo)
install(FILES ${TARVIK_LINUX}/tarvik-mime.xml DESTINATION share/mime/packages RENAME tarvik.xml)
foreach(lado 16 32 48 64 128 256)
  install(FILES ${TARVIK_LINUX}/icons/tarvik-${lado}.png
    DESTINATION share/icons/hicolor/${lado}x${lado}/apps RENAME tarvik.png)
endforeach()
install(FILES ${TARVIK_LINUX}/icons/tarvik.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VENDOR "KELTU")
set(CPACK_PACKAGE_CONTACT "KELTU Radizod <soporte@keltu.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Power-factor correction sizing from a year of electricity bills")
set(CPACK_PACKAGE_DESCRIPTION "Tarvik sizes the power-factor correction of a low-voltage installation from one year of
electricity billing readings or from the contracted power: automatic capacitor banks with the fixed
capacitor for the input transformer, or energy-saving harmonic filters, their supply conductors and
the current transformer, with a printed calculation report.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries the programs link: the windowing plugins of Qt, the metric twin of Arial that
# the report asks for, and the SVG image plugin for the scalable icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
# The maintainer scripts refresh the desktop's caches after installing and after removing.
set(TARVIK_CASOS configure)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/escritorio.sh.in ${CMAKE_BINARY_DIR}/debian/postinst
  @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(TARVIK_CASOS "remove|purge")
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/escritorio.sh.in ${CMAKE_BINARY_DIR}/debian/postrm
  @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/postinst ${CMAKE_BINARY_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
