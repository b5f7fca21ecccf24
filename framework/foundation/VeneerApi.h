#pragma once
// The client executable exports the framework's classes under their names and
// nothing else, so the class declarations carry this mark instead of the link
// exporting every symbol. A build that wants no exports defines it empty.
#ifndef VENEER_API
#define VENEER_API __declspec(dllexport)
#endif
