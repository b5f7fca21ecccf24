#pragma once
// Resource numbers of the client's executable (shared by the .rc and the code).
#define IDR_SKIN 101
#define IDI_MICROCLIENT 103
#define IDR_CONFIG 104
#define IDR_TRAYMENU 105
#define IDM_SHOWGAME 40006
#define IDM_EXITGAME 40007
