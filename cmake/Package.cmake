# `make package`: a Debian package of the libraries, headers, CMake package files and the demo,
# installed under /usr. Programs built against it need the development packages of the libraries
# the framework links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vardel)
set(CPACK_PACKAGE_VENDOR "Vardel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C++ desktop application framework and OpenGL cloth demonstration")
set(CPACK_PACKAGE_CONTACT "Vardel developers <vardel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libfreetype-dev, libx11-dev, libgl-dev, libgl1-mesa-dri, libglx-mesa0, fonts-dejavu-core")
include(CPack)
