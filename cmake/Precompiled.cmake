# Precompiled headers. Every file includes much the same Qt and standard headers, and parsing them
# again in each of several hundred files is most of a debug build's time. Two headers are compiled
# once, each in a small target of its own, and reused by every target of their kind:
#   core     the standard library and QtCore (core libraries, tools, benchmarks, tests of the core)
#   widgets  core and the common widgets (window libraries, the programs, window tests)
# QtTest stays out: what it declares depends on which Qt modules the test links.
# Off with -DQAV_PCH=OFF (a build that checks every file includes what it uses).
#
#   qav_precompiled(<target> core|widgets)
option(QAV_PCH "Precompile the common Qt and standard headers" ON)

set(qav_pch_core_headers
    <algorithm> <array> <cstdint> <functional> <limits> <map> <memory> <optional> <set> <stdexcept>
    <string> <string_view> <utility> <vector>
    <QByteArray> <QCoreApplication> <QDate> <QDir> <QFile> <QFileInfo> <QObject> <QString>
    <QStringList> <QVariant>)
set(qav_pch_widgets_headers
    ${qav_pch_core_headers}
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QFormLayout> <QHBoxLayout> <QHeaderView>
    <QKeyEvent> <QLabel> <QLineEdit> <QMessageBox> <QPushButton> <QTabWidget> <QTableView> <QTimer>
    <QVBoxLayout> <QWidget>)
set(qav_pch_core_libs Qt6::Core)
set(qav_pch_widgets_libs Qt6::Widgets)

function(qav_precompiled target kind)
  if(NOT QAV_PCH)
    return()
  endif()
  set(pch_target qav_pch_${kind})
  if(NOT TARGET ${pch_target})
    # A target of its own per kind, made the first time a target asks for it. The compile options
    # match the consumers' (warnings included): the compiler refuses a header precompiled otherwise.
    add_library(${pch_target} STATIC ${PROJECT_SOURCE_DIR}/cmake/pch/empty.cpp)
    target_link_libraries(${pch_target} PRIVATE ${qav_pch_${kind}_libs})
    # The Qt switches every library gets from the store change what the Qt headers declare.
    target_compile_definitions(${pch_target}
                               PRIVATE $<TARGET_PROPERTY:qav_store_core,INTERFACE_COMPILE_DEFINITIONS>)
    target_precompile_headers(${pch_target} PRIVATE ${qav_pch_${kind}_headers})
    qav_warnings(${pch_target})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${pch_target})
endfunction()
