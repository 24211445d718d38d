#include "application/LaunchCommandLine.h"

#include <QCommandLineParser>

#include "core/Localization.h"

namespace tessel {
namespace {

const QCommandLineOption kHelp(QStringList{"h", "help"});
const QCommandLineOption kVersion(QStringList{"v", "version"});
const QCommandLineOption kBackground("background-command");
const QCommandLineOption kService("service");

QByteArray help() {
  return QByteArray::fromStdString(
      localizedText("使い方:", "Usage:") +
      " tessel [--background-command] [URL...]\n"
      "       tessel --service [favorite:<n>] FILE...\n" +
      localizedText(
          "\nTesselのホストです。セッションに一つだけ動き、ファイルの移動をすべて行います。\n"
          "引数なしでは設定ウインドウを開きます。動いているホストがあれば、コマンドを渡して"
          "終了します。\n\n"
          "  URL                   tessel:// のURL（ファイルマネージャの拡張からの依頼）\n"
          "  --background-command  ウインドウを出さずに起動します\n"
          "  --service [favorite:<n>] FILE...\n"
          "                        FILE... をお気に入りn（0から）へ移動します。省略すると\n"
          "                        ウインドウで選んで移動します\n"
          "  -h, --help            このヘルプを表示して終了します\n"
          "  -v, --version         バージョンを表示して終了します\n\n"
          "終了ステータス: 0 成功、1 動いているホストに渡せなかった、2 コマンドラインの誤り\n\n"
          "環境変数: LANGUAGE, LC_ALL, LC_MESSAGES, LANG（表示言語）、XDG_DATA_HOME"
          "（設定と履歴の場所）、XDG_RUNTIME_DIR、DISPLAY, WAYLAND_DISPLAY, "
          "QT_QPA_PLATFORM（画面がなければウインドウなしで動きます）、TESSEL_INFO_FILE"
          "（Infoファイル）\n",
          "\nThe Tessel host: one per session, it does all the moving of files. Without\n"
          "arguments it opens the settings window. When a host is running already, the command\n"
          "is handed to it and this process ends.\n\n"
          "  URL                   a tessel:// URL (a request from the file-manager extension)\n"
          "  --background-command  start without showing the window\n"
          "  --service [favorite:<n>] FILE...\n"
          "                        move FILE... into favourite n (counted from 0), or choose\n"
          "                        the destination in the window\n"
          "  -h, --help            print this help and exit\n"
          "  -v, --version         print the version and exit\n\n"
          "Exit status: 0 on success; 1 when the running host could not be reached; 2 for a\n"
          "malformed command line.\n\n"
          "Environment: LANGUAGE, LC_ALL, LC_MESSAGES, LANG (the language of texts);\n"
          "XDG_DATA_HOME (where settings and the move history live); XDG_RUNTIME_DIR;\n"
          "DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM (without a display the host runs without\n"
          "its window); TESSEL_INFO_FILE (the Info file to read).\n"));
}

QByteArray mistake(const QString& problem) {
  return "tessel: " + problem.toUtf8() + "\n" +
         QByteArray::fromStdString(localizedText("詳しくは 'tessel --help' を実行してください。\n",
                                                 "Try 'tessel --help' for more information.\n"));
}

}  // namespace

LaunchCommandLine LaunchCommandLine::read(const QByteArrayList& argv,
                                          const QByteArray& workingFolder) {
  // The parser sees text; the command is then read from the bytes themselves, so a file name
  // in no valid encoding reaches the host unchanged.
  QStringList text;
  for (const QByteArray& argument : argv) text.append(QString::fromLocal8Bit(argument));
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions({kHelp, kVersion, kBackground, kService});
  LaunchCommandLine line;
  if (!parser.parse(text)) {
    line.standardError = mistake(parser.errorText());
    line.exitStatus = kUsage;
  } else if (parser.isSet(kHelp)) {
    line.standardOutput = help();
  } else if (parser.isSet(kVersion)) {
    line.standardOutput = "tessel " TESSEL_VERSION "\n";
  } else {
    QByteArrayList arguments = argv.mid(1);
    arguments.removeOne("--");
    line.command = LaunchCommand::parse(arguments, workingFolder);
  }
  return line;
}

}  // namespace tessel
