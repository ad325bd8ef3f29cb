#pragma once
// Icon resources compiled into orvalen.exe (app/win/orvalen.rc).
#define IDI_ORVALEN 1
#define IDI_GRAVAR 101
#define IDI_LER 102
#define IDI_AJUDA 103
#define IDI_SOBRE 104
#define IDI_SAIR 105
#define IDI_RETORNAR 106
#define IDI_GLOBO 107
