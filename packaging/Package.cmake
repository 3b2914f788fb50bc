# `cpack -G DEB` builds kestovar_<version>_amd64.deb from the install tree.
# Configure the package build with -DCMAKE_INSTALL_PREFIX=/usr (scripts/package does).
set(CPACK_PACKAGE_NAME kestovar)
set(CPACK_PACKAGE_VENDOR "Kestovar")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kestovar developers <dev@kestovar.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operator console for website chats answered by AI agents")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kestovar.com")
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kestovar_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kestovar developers <dev@kestovar.com>")
# The synopsis is the summary above; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestovar shows the operator every AI agent's website conversations, lets
them take a chat over from the AI and reply, resolve, translate and insert
canned replies, watch live visitors and read statistics. It posts a desktop
notification, with a reply field where the notification service offers one,
when a visitor needs a human, and stays in the system tray.")
# Libraries come from dpkg-shlibdeps; the QML modules and plugins the console
# loads at run time, and the secret store's library, are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtqml, qml6-module-qtqml-models, qml6-module-qtqml-workerscript, qml6-module-qtquick-controls, qml6-module-qtquick-templates, qml6-module-qtquick-layouts, qml6-module-qtquick-window, qml6-module-qtquick-shapes, libqt6svg6, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gnome-keyring | keepassxc, notification-daemon, fonts-noto-color-emoji")
# Registration (desktop database, icon cache, the x-scheme-handler/kestovar
# association) happens through the desktop-file-utils and hicolor-icon-theme
# triggers on the folders we install into: no maintainer scripts.
set(CPACK_GENERATOR DEB)
include(CPack)
