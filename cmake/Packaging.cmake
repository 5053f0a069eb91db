# The Debian package: `cpack -G DEB` in a build folder. Library dependencies come from
# dpkg-shlibdeps; what the program loads at run time without linking it (Qt's media, platform and
# SVG plug-ins, GStreamer's MP3 decoding, Qt's Chinese texts, the fonts the window asks for) is
# named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lectoria)
set(CPACK_PACKAGE_VENDOR "Lectoria developers")
set(CPACK_PACKAGE_CONTACT "Lectoria developers <lectoria@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English read-aloud tutor for Chinese-speaking learners")
# The extended description, each line under 80 columns; CPack puts the summary above it.
set(CPACK_PACKAGE_DESCRIPTION
    "Lectoria reads English textbook lessons aloud sentence by sentence, each\n\
as often as chosen and with a pause after it, while its window shows the\n\
sentence in large type, the whole text and an editable grammar note. A\n\
topic search finds sentences by words and by grammar topic. Its window and\n\
help are in Chinese. A demo library is included.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/lectoria/lectoria")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6multimedia6, libqt6svg6, qt6-translations-l10n, gstreamer1.0-plugins-base, \
gstreamer1.0-plugins-good, fonts-liberation, fonts-wqy-microhei | fonts-noto-cjk")
# Video files to import are decoded by libav; sound goes to whichever sound server runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav, pulseaudio | pipewire-pulse, qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
