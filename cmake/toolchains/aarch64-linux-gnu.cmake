# Cross build for 64-bit ARM Linux with Debian's cross compiler and the :arm64 libraries installed beside
# the native ones (scripts/deps.sh arm64 installs them; scripts/cross-build.sh arm64 uses this file).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_ASM_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config for the target")

# PHP's and MariaDB's development packages cannot be installed beside their amd64 twins; deps.sh
# unpacks them here, and they are found here first.
set(BRINDLE_ARM64_SYSROOT /opt/brindle/arm64-sysroot CACHE PATH "Unpacked arm64 packages (scripts/deps.sh arm64)")
list(PREPEND CMAKE_PREFIX_PATH ${BRINDLE_ARM64_SYSROOT}/usr)
set(ENV{PKG_CONFIG_PATH} ${BRINDLE_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig)

# Qt's build tools (moc and friends) are the host's.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# Optional: run arm64 programs here (tests from ctest, build-time tools without BRINDLE_HOST_TOOLS_DIR).
# The library prefix puts the unpacked packages where the programs look for them (/usr/lib/libphp8.2.so,
# PHP's extensions).
find_program(QEMU_AARCH64 qemu-aarch64-static)
if(QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_AARCH64} -L ${BRINDLE_ARM64_SYSROOT})
endif()
