# Linking the debug programs and the hundred test programs with the system's default linker takes
# minutes of a first build; LLVM's linker, when installed, does the same work in a fraction of it.
include(CheckLinkerFlag)
option(QAV_LLD "Link with lld when the compiler accepts it" ON)
if(QAV_LLD AND NOT MSVC)
  check_linker_flag(CXX -fuse-ld=lld QAV_HAS_LLD)
  if(QAV_HAS_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()
