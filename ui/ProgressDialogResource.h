/* Resource numbers of the skinned interface, shared by the resource script
   and the code (plain C preprocessor only: the resource compiler reads it). */
#pragma once

#define IDD_PROGRESS_DIALOG 129
