#pragma once
// The console front end over the run controller.
//   conversor-tolv-cli --origem DIR --destino BANCO [--empresa 01|02] [--gerar-codigos]
//                      [--usuario U] [--senha S] TIPO...
// Exit status: 0 committed with nothing rejected; 3 committed but rows were
// rejected; 1 failed and rolled back, or the target could not be opened; 2 bad usage.
int RunCli(int argc, char** argv);
