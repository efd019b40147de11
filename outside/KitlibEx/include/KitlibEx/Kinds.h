// File kinds of the support tests (CMTLxIsSupport and friends).
//
// Kind bits: one bit per kind of file, recognised by the name's extension (any case).
//
//   bit  value     kind                          extensions
//    0   0x00001   JPEG picture                  .jpg .jpeg .jpe
//    1   0x00002   TIFF picture                  .tif .tiff
//    2   0x00004   RAW picture                   .raw .dng
//    3   0x00008   QuickTime movie               .mov .qt
//    4   0x00010   AVI movie                     .avi
//    5   0x00020   MPEG-4 movie                  .mp4 .m4v
//    6   0x00040   MPEG movie                    .mpg .mpeg .mod
//    7   0x00080   GIF picture                   .gif
//    8   0x00100   image-editor project          .ped
//    9   0x00200   bitmap picture                .bmp .dib
//   10   0x00400   voice-annotated picture       .dvf
//   11   0x00800   title picture                 .ttl
//   12   0x01000   Windows Media movie           .wmv
//   13   0x02000   sound                         .mp3 .m4a .wav .wma
//   14   0x04000   SD-Video movie                .asf
//   15   0x08000   companion file                .thm .tmb .iis .moi
//   16   0x10000   AVCHD clip (content file)     .cont
//   17   0x20000   AVCHD stream                  .mts .m2ts
//   18   0x40000   multi-picture (3D) JPEG       .mpo
//   19   0x80000   PNG picture                   .png
//
// A filter argument below 0x100 is a filter number (table below); a value of 0x100 or
// more is a mask of kind bits itself (0x5407F: what the card import takes; 0xD0207: the
// pictures and clips the classification registers).
//
//   filter  accepts
//     0     any file (no kind test)
//     1     pictures of the picture tools: JPEG TIFF BMP PNG MPO
//     2     still pictures: JPEG TIFF RAW GIF BMP PNG MPO
//     3     movies: MOV AVI MP4 MPEG WMV ASF MTS CONT
//     4     image editor: JPEG TIFF BMP PNG DVF TTL PED
//     5     picture tools: JPEG TIFF GIF BMP PNG DVF TTL PED
//     6     date insertion, shooting date and GPS tools: JPEG DVF
//     7     slide-show pictures: JPEG TIFF GIF BMP PNG MPO
//     8     sound: sound files
//     9     pictures whose shooting date can be set: JPEG
//    10     every media file: the still pictures, movies and sound
//    11     movies that can be split: MOV AVI MP4 MPEG
//    12     movies for discs and export: MOV AVI MP4 MPEG WMV ASF MTS CONT
//    13     RAW pictures
//    14     clips for upload: MOV AVI MP4 MPEG WMV CONT
//    15     the card import (= mask 0x5407F)
//    16     movies for the outside movie programs: MOV AVI MP4 MPEG WMV ASF MTS CONT
//   other   nothing
//
// Information flags (the out value of the tests; filled for rejected files too):
//   0x001 still picture, 0x002 RAW picture, 0x004 sound, 0x008 companion file,
//   0x010 special picture kind (DVF, TTL, PED), 0x080 read-only file,
//   0x100 movie, 0x200 a folder, not a file.
#pragma once

#define CMTLX_KIND_JPEG 0x00001UL
#define CMTLX_KIND_TIFF 0x00002UL
#define CMTLX_KIND_RAW 0x00004UL
#define CMTLX_KIND_MOV 0x00008UL
#define CMTLX_KIND_AVI 0x00010UL
#define CMTLX_KIND_MP4 0x00020UL
#define CMTLX_KIND_MPEG 0x00040UL
#define CMTLX_KIND_GIF 0x00080UL
#define CMTLX_KIND_PED 0x00100UL
#define CMTLX_KIND_BMP 0x00200UL
#define CMTLX_KIND_DVF 0x00400UL
#define CMTLX_KIND_TTL 0x00800UL
#define CMTLX_KIND_WMV 0x01000UL
#define CMTLX_KIND_SOUND 0x02000UL
#define CMTLX_KIND_ASF 0x04000UL
#define CMTLX_KIND_COMPANION 0x08000UL
#define CMTLX_KIND_CONT 0x10000UL
#define CMTLX_KIND_MTS 0x20000UL
#define CMTLX_KIND_MPO 0x40000UL
#define CMTLX_KIND_PNG 0x80000UL

#define CMTLX_MASK_CARD_IMPORT 0x5407FUL
#define CMTLX_MASK_CLASSIFY 0xD0207UL

#define CMTLX_INFO_PICTURE 0x001UL
#define CMTLX_INFO_RAW 0x002UL
#define CMTLX_INFO_SOUND 0x004UL
#define CMTLX_INFO_COMPANION 0x008UL
#define CMTLX_INFO_SPECIAL 0x010UL
#define CMTLX_INFO_READONLY 0x080UL
#define CMTLX_INFO_MOVIE 0x100UL
#define CMTLX_INFO_FOLDER 0x200UL
