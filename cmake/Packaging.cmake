# The Debian package: `cpack -G DEB` in the build folder, after a build.
# dpkg-shlibdeps finds the libraries the programs link; Depends adds what
# they load at run time without linking it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillory)
set(CPACK_PACKAGE_VENDOR "Quillory")
set(CPACK_PACKAGE_CONTACT "Quillory developers <developers@quillory.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exam preparation with question banks (穹岚)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillory.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# KaTeX, which the content view loads from /usr/share/javascript/katex to
# render formulas. (The web engine's helper process, libqt6webenginecore6-bin,
# comes with the web engine library's shlibs.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjs-katex")
# Chinese text on screen and in print (the Kai and Song faces the pages ask
# for first), typing it, Qt's own dialogs in Chinese; lp prints the print
# files.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk, fonts-arphic-ukai, fonts-arphic-uming, fcitx5-frontend-qt6 | ibus, \
qt6-translations-l10n, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client")
# CPack puts the summary first and indents these lines; an empty line
# separates the paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillory (穹岚) is a desktop exam-preparation program. A data file (*.qly)
holds a bank of exam papers, questions, question types and knowledge points.
The learner browses the papers, takes timed mock exams whose objective
answers are judged at once, generates practice papers weighted by the
importance of each knowledge point and by his own results, reads analysis
reports and prints papers. The interface is in Chinese. quillory-tool gives
bank authors the same core on the command line. A demo bank comes with it.

穹岚是一个备考练习程序。一个数据文件（*.qly）收有一个题库：试卷、试题、题型和
知识点。学习者浏览试卷，进行限时模拟考试（客观题当场评判），按知识点的重要程度
和自己的成绩生成练习卷，阅读分析报告，打印试卷。附带一个示例题库；
quillory-tool 供题库作者在命令行中使用。")

include(CPack)
