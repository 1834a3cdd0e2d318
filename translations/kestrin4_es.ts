<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Catalogue</name>
    <message>
        <source>Bold</source>
        <translation>Negrita</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Cursiva</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Subrayado</translation>
    </message>
    <message>
        <source>Strikethru</source>
        <translation>Tachado</translation>
    </message>
    <message>
        <source>Cite</source>
        <translation>Cita</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Pequeño</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Énfasis fuerte</translation>
    </message>
    <message>
        <source>Header1</source>
        <translation>Encabezado 1</translation>
    </message>
    <message>
        <source>Header2</source>
        <translation>Encabezado 2</translation>
    </message>
    <message>
        <source>Header3</source>
        <translation>Encabezado 3</translation>
    </message>
    <message>
        <source>Header4</source>
        <translation>Encabezado 4</translation>
    </message>
    <message>
        <source>Header5</source>
        <translation>Encabezado 5</translation>
    </message>
    <message>
        <source>Font color</source>
        <translation>Color de fuente</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Tamaño de fuente</translation>
    </message>
    <message>
        <source>Font face</source>
        <translation>Tipo de fuente</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centrado</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Izquierda</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Derecha</translation>
    </message>
    <message>
        <source>Justyfied</source>
        <translation>Justificado</translation>
    </message>
    <message>
        <source>Horizontal line</source>
        <translation>Línea horizontal</translation>
    </message>
    <message>
        <source>Line break</source>
        <translation>Salto de línea</translation>
    </message>
    <message>
        <source>Nobreak</source>
        <translation>Sin salto de línea</translation>
    </message>
    <message>
        <source>Preformatted</source>
        <translation>Preformateado</translation>
    </message>
    <message>
        <source>Copiryght</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>Registered</source>
        <translation>Marca registrada</translation>
    </message>
    <message>
        <source>Insert function</source>
        <translation>Insertar función</translation>
    </message>
    <message>
        <source>Delete file</source>
        <translation>Eliminar archivo</translation>
    </message>
    <message>
        <source>Strip html tags</source>
        <translation>Quitar etiquetas HTML</translation>
    </message>
    <message>
        <source>Convert html special chars</source>
        <translation>Caracteres especiales HTML</translation>
    </message>
    <message>
        <source>xhtml header</source>
        <translation>cabecera XHTML</translation>
    </message>
    <message>
        <source>xhtml footer</source>
        <translation>pie XHTML</translation>
    </message>
    <message>
        <source>form</source>
        <translation>formulario</translation>
    </message>
    <message>
        <source>textbox</source>
        <translation>cuadro de texto</translation>
    </message>
    <message>
        <source>hidded textbox</source>
        <translation>cuadro de texto oculto</translation>
    </message>
    <message>
        <source>read only textbox</source>
        <translation>cuadro de texto no editable</translation>
    </message>
    <message>
        <source>passwordbox</source>
        <translation>cuadro de contraseña</translation>
    </message>
    <message>
        <source>combobox</source>
        <translation>lista desplegable</translation>
    </message>
    <message>
        <source>submit</source>
        <translation>botón de envío</translation>
    </message>
    <message>
        <source>Insert table</source>
        <translation>Insertar tabla</translation>
    </message>
    <message>
        <source>Ajax getHTTPObject sample</source>
        <translation>Ejemplo getHTTPObject</translation>
    </message>
</context>
<context>
    <name>CharacterReferences</name>
    <message>
        <source>AND</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Replace special caracters with html code</source>
        <translation>Reemplazar caracteres especiales por código HTML</translation>
    </message>
</context>
<context>
    <name>ReplacePaths</name>
    <message>
        <source>the file is read-only or you have no permission to change it</source>
        <translation>el archivo es de solo lectura o no tiene permiso para modificarlo</translation>
    </message>
    <message>
        <source>the file may not be changed (it is marked immutable)</source>
        <translation>el archivo no se puede modificar (está marcado como inmutable)</translation>
    </message>
    <message>
        <source>the file lies on a read-only file system</source>
        <translation>el archivo está en un sistema de archivos de solo lectura</translation>
    </message>
</context>
<context>
    <name>ScintillaQt</name>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>There is not enough memory to open the file.</source>
        <translation>No hay memoria suficiente para abrir el archivo.</translation>
    </message>
    <message>
        <source>The file is not a text file (it contains a NUL character).</source>
        <translation>El archivo no es un archivo de texto (contiene un carácter NUL).</translation>
    </message>
    <message>
        <source>The UTF-16 text ends in the middle of a character.</source>
        <translation>El texto UTF-16 termina en mitad de un carácter.</translation>
    </message>
    <message>
        <source>The UTF-16 text contains an unpaired surrogate.</source>
        <translation>El texto UTF-16 contiene un sustituto sin pareja.</translation>
    </message>
    <message>
        <source>The UTF-16 file has an odd number of bytes; its last character is incomplete.</source>
        <translation>El archivo UTF-16 tiene un número impar de bytes; su último carácter está incompleto.</translation>
    </message>
    <message>
        <source>The file is not a text file (it contains NUL bytes).</source>
        <translation>El archivo no es un archivo de texto (contiene bytes NUL).</translation>
    </message>
    <message>
        <source>Line %1 contains bytes that are not valid UTF-8 text.</source>
        <translation>La línea %1 contiene bytes que no son texto UTF-8 válido.</translation>
    </message>
    <message>
        <source>The character %1 on line %2 cannot be written in Windows-1252, the encoding of this file.</source>
        <translation>El carácter %1 de la línea %2 no se puede escribir en Windows-1252, la codificación de este archivo.</translation>
    </message>
</context>
<context>
    <name>kestrin::CodeEdit</name>
    <message>
        <source>Document text</source>
        <translation>Texto del documento</translation>
    </message>
</context>
<context>
    <name>kestrin::EditorStatusBar</name>
    <message>
        <source>Document path</source>
        <translation>Ruta del documento</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Bloq Mayús</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Modo de inserción</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>INS</source>
        <comment>insert mode</comment>
        <translation>INS</translation>
    </message>
    <message>
        <source>CAPS</source>
        <comment>Caps Lock on</comment>
        <translation>MAYÚS</translation>
    </message>
</context>
<context>
    <name>kestrin::FindReplaceDialog</name>
    <message>
        <source>Find what:</source>
        <translation>Buscar:</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Reemplazar por:</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Reemplazar por</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Coincidir &amp;mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Solo palabras &amp;completas</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>E&amp;xpresión regular</translation>
    </message>
    <message>
        <source>Search &amp;backwards</source>
        <translation>Buscar hacia &amp;atrás</translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation>Continuar desde el otro &amp;extremo</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>Buscar &amp;siguiente</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Reemplazar &amp;todo</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Search result</source>
        <translation>Resultado de la búsqueda</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>No se encuentra «%1».</translation>
    </message>
    <message>
        <source>Replaced 1 occurrence.</source>
        <translation>Se reemplazó 1 coincidencia.</translation>
    </message>
    <message>
        <source>Replaced %1 occurrences.</source>
        <translation>Se reemplazaron %1 coincidencias.</translation>
    </message>
</context>
<context>
    <name>kestrin::Journal</name>
    <message>
        <source>The journal is empty: nothing was recorded in it.</source>
        <translation>El diario está vacío: no se registró nada en él.</translation>
    </message>
    <message>
        <source>The file is not a recovery journal of this program.</source>
        <translation>El archivo no es un diario de recuperación de este programa.</translation>
    </message>
    <message>
        <source>The journal was written by another version of the program (format %1).</source>
        <translation>El diario lo escribió otra versión del programa (formato %1).</translation>
    </message>
    <message>
        <source>The journal is damaged: a checksum does not match.</source>
        <translation>El diario está dañado: una suma de comprobación no coincide.</translation>
    </message>
    <message>
        <source>The journal is damaged: a change lies outside the text.</source>
        <translation>El diario está dañado: un cambio queda fuera del texto.</translation>
    </message>
    <message>
        <source>The journal is damaged: its first text is not the one it recorded.</source>
        <translation>El diario está dañado: su texto inicial no es el que registró.</translation>
    </message>
    <message>
        <source>The journal holds a record this version does not know.</source>
        <translation>El diario contiene un registro que esta versión no conoce.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made: %2</source>
        <translation>No se puede crear la carpeta %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 no es una carpeta.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user or is open to others.</source>
        <translation>La carpeta %1 pertenece a otro usuario o está abierta a otros.</translation>
    </message>
    <message>
        <source>The journal cannot be read.</source>
        <translation>No se puede leer el diario.</translation>
    </message>
</context>
<context>
    <name>kestrin::JournalWriter</name>
    <message>
        <source>The journal cannot be written.</source>
        <translation>No se puede escribir el diario.</translation>
    </message>
</context>
<context>
    <name>kestrin::ReplaceRun</name>
    <message>
        <source>unknown error</source>
        <translation>error desconocido</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) before it were changed and taken off the list. This file and the %1 after it were not changed and stay in the list.</source>
        <translation>
            <numerusform>%n archivo anterior se modificó y se quitó de la lista. Este archivo y los %1 siguientes no se modificaron y siguen en la lista.</numerusform>
            <numerusform>%n archivos anteriores se modificaron y se quitaron de la lista. Este archivo y los %1 siguientes no se modificaron y siguen en la lista.</numerusform>
        </translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>no se pudo leer</translation>
    </message>
    <message>
        <source>could not be saved</source>
        <translation>no se pudo guardar</translation>
    </message>
    <message>
        <source>%1

The run had stopped at &quot;%2&quot;, which %3: %4</source>
        <translation>%1

La ejecución se había detenido en «%2», que %3: %4</translation>
    </message>
    <message>
        <source>%1

The run had been stopped before &quot;%2&quot;.</source>
        <translation>%1

La ejecución se había detenido antes de «%2».</translation>
    </message>
    <message>
        <source>The run was stopped before &quot;%1&quot;.

</source>
        <translation>La ejecución se detuvo antes de «%1».

</translation>
    </message>
    <message>
        <source>A changed file could not be put in place: %1

The files that could not be written were not changed and stay in the list; the other changed files were written and taken off the list.</source>
        <translation>No se pudo colocar en su sitio un archivo modificado: %1

Los archivos que no se pudieron escribir no se modificaron y siguen en la lista; los demás archivos modificados se escribieron y se quitaron de la lista.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2: %3</source>
        <comment>%1 a file&apos;s path, %2 what failed (could not be read), %3 why</comment>
        <translation>«%1» %2: %3</translation>
    </message>
</context>
<context>
    <name>kestrin::ScrollPicture</name>
    <message>
        <source>Image viewer</source>
        <translation>Visor de imágenes</translation>
    </message>
    <message>
        <source>Scroll the image sideways</source>
        <translation>Desplazar la imagen horizontalmente</translation>
    </message>
    <message>
        <source>Scroll the image up and down</source>
        <translation>Desplazar la imagen verticalmente</translation>
    </message>
    <message>
        <source>Image frame</source>
        <translation>Marco de la imagen</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Scrool picture</source>
        <translation>Visor de imágenes</translation>
    </message>
    <message>
        <source>No existe ninguna imagen</source>
        <translation>No existe ninguna imagen</translation>
    </message>
    <message>
        <source>Scroll picture</source>
        <translation>Visor de imágenes</translation>
    </message>
    <message>
        <source>No existe niguna imagen.</source>
        <translation>No existe ninguna imagen.</translation>
    </message>
</context>
<context>
    <name>kestrin::SidePanel</name>
    <message>
        <source>WEB HEADER</source>
        <translation>CABECERA</translation>
    </message>
    <message>
        <source>LANGUAGE</source>
        <translation>IDIOMA</translation>
    </message>
    <message>
        <source>UTILS</source>
        <translation>ACCIONES</translation>
    </message>
    <message>
        <source>FORM</source>
        <translation>FORMULARIO</translation>
    </message>
    <message>
        <source>TABLE</source>
        <translation>TABLA</translation>
    </message>
    <message>
        <source>Side panel</source>
        <translation>Panel lateral</translation>
    </message>
    <message>
        <source>Side panel pages</source>
        <translation>Páginas del panel lateral</translation>
    </message>
    <message>
        <source>%1 snippets</source>
        <translation>Fragmentos %1</translation>
    </message>
    <message>
        <source>Insert %1 (%2)</source>
        <translation>Insertar %1 (%2)</translation>
    </message>
    <message>
        <source>Fold or unfold the side panel</source>
        <translation>Plegar o desplegar el panel lateral</translation>
    </message>
    <message>
        <source>CONVERT SELECTED ADDRESS TO LINK</source>
        <translation>CONVERTIR LA SELECCIÓN EN ENLACE</translation>
    </message>
    <message>
        <source>DELETE HTM CODES</source>
        <translation>ELIMINAR CÓDIGOS HTML</translation>
    </message>
    <message>
        <source>HTML BLOCK COMMENT</source>
        <translation>COMENTARIO HTML</translation>
    </message>
    <message>
        <source>PHP BLOCK COMMENT</source>
        <translation>COMENTARIO PHP</translation>
    </message>
    <message>
        <source>COLOR CHOOSER UTILITY</source>
        <translation>SELECTOR DE COLOR</translation>
    </message>
    <message>
        <source>REPLACE IN MULTIPLE FILES</source>
        <translation>REEMPLAZAR EN VARIOS ARCHIVOS</translation>
    </message>
</context>
<context>
    <name>kestrin::frmColor</name>
    <message>
        <source>All images</source>
        <translation>Todas las imágenes</translation>
    </message>
    <message>
        <source>Colour palette</source>
        <translation>Paleta de colores</translation>
    </message>
    <message>
        <source>Selected color</source>
        <translation>Color seleccionado</translation>
    </message>
    <message>
        <source>Selected color:</source>
        <translation>Seleccionado:</translation>
    </message>
    <message>
        <source>INSERT</source>
        <translation>INSERTAR</translation>
    </message>
    <message>
        <source>SELECT PICTURE</source>
        <translation>SELECCIONAR IMAGEN</translation>
    </message>
    <message>
        <source>Selected color text</source>
        <translation>Texto del color seleccionado</translation>
    </message>
    <message>
        <source>COLOR CHOOSER UTILITY</source>
        <translation>SELECTOR DE COLOR</translation>
    </message>
    <message>
        <source>Images|*.jpg;*.bmp;*.gif;*.wmf</source>
        <translation>Imágenes|*.jpg;*.bmp;*.gif;*.wmf</translation>
    </message>
</context>
<context>
    <name>kestrin::frmEdit</name>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Negrita</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Cursiva</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Subrayado</translation>
    </message>
    <message>
        <source>Font face</source>
        <translation>Tipo de fuente</translation>
    </message>
    <message>
        <source>Font color</source>
        <translation>Color de fuente</translation>
    </message>
    <message>
        <source>Color code</source>
        <translation>Código de color</translation>
    </message>
    <message>
        <source>Align left</source>
        <translation>Alinear a la izquierda</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centrar</translation>
    </message>
    <message>
        <source>Align right</source>
        <translation>Alinear a la derecha</translation>
    </message>
    <message>
        <source>Line break</source>
        <translation>Salto de línea</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Documento</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Guardar como...</translation>
    </message>
    <message>
        <source>Save as txt...</source>
        <translation>Guardar como TXT...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Find next</source>
        <translation>Buscar siguiente</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Goto line</source>
        <translation>Ir a la línea</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Toolbar1</source>
        <translation>Barra de herramientas 1</translation>
    </message>
    <message>
        <source>Current color</source>
        <translation>Color actual</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>open</source>
        <comment>Could not %1 the file</comment>
        <translation>abrir</translation>
    </message>
    <message>
        <source>Line:</source>
        <translation>Línea:</translation>
    </message>
    <message>
        <source>Marvolis KESTRIN Vozod 4
Ver %1.%2.%3
Made by Marvolis for web developers</source>
        <translation>Marvolis KESTRIN Vozod 4
Versión %1.%2.%3
Hecho por Marvolis para desarrolladores web</translation>
    </message>
    <message>
        <source>The editing engine is Scintilla %1 with Lexilla %2, Copyright 1998-2021 by Neil Hodgson, used under their licence (see the copyright file).</source>
        <translation>El motor de edición es Scintilla %1 con Lexilla %2, Copyright 1998-2021 de Neil Hodgson, usados según su licencia (véase el archivo copyright).</translation>
    </message>
    <message>
        <source>Supported files|*.htm;*.html;*.php;*.css;*.js;*.tpl|All files|*.*</source>
        <translation>Archivos compatibles|*.htm;*.html;*.php;*.css;*.js;*.tpl|Todos los archivos|*.*</translation>
    </message>
    <message>
        <source>Html files|*.htm;*.html|Php files|*.php|Css files|*.css|Js files|*.js|Tpl files|*.tpl</source>
        <translation>Archivos HTML|*.htm;*.html|Archivos PHP|*.php|Archivos CSS|*.css|Archivos JS|*.js|Archivos TPL|*.tpl</translation>
    </message>
    <message>
        <source>Txt file|*.txt</source>
        <translation>Archivo TXT|*.txt</translation>
    </message>
    <message>
        <source>Could not %1 the file %2:
%3</source>
        <translation>No se pudo %1 el archivo %2:
%3</translation>
    </message>
    <message>
        <source>The file %1 is changed and not saved. Save?</source>
        <translation>El archivo %1 ha cambiado y no se ha guardado. ¿Guardar?</translation>
    </message>
    <message>
        <source>Could not start a new window of %1.</source>
        <translation>No se pudo abrir una nueva ventana de %1.</translation>
    </message>
    <message>
        <source>save</source>
        <comment>Could not %1 the file</comment>
        <translation>guardar</translation>
    </message>
    <message>
        <source>%1, the encoding of the file %2</source>
        <translation>%1, la codificación del archivo %2</translation>
    </message>
    <message>
        <source>The character %1 on line %2 cannot be written in %3.</source>
        <translation>El carácter %1 de la línea %2 no se puede escribir en %3.</translation>
    </message>
    <message>
        <source>%1 characters cannot be written in %2. The first is %3 on line %4.</source>
        <translation>%1 caracteres no se pueden escribir en %2. El primero es %3 en la línea %4.</translation>
    </message>
    <message>
        <source>Use character references</source>
        <translation>Usar referencias de caracteres</translation>
    </message>
    <message>
        <source>Use escapes</source>
        <translation>Usar secuencias de escape</translation>
    </message>
    <message>
        <source>Save as UTF-8</source>
        <translation>Guardar como UTF-8</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program since it was opened. Overwrite it?</source>
        <translation>Otro programa ha modificado el archivo %1 desde que se abrió. ¿Sobrescribirlo?</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 are not protected against a crash: the recovery journal cannot be written.
%2</source>
        <translation>Los cambios sin guardar de %1 no están protegidos contra un cierre inesperado: no se puede escribir el diario de recuperación.
%2</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 were kept when the program ended without saving them. The last change was made %2.</source>
        <translation>Se conservaron cambios sin guardar de %1 cuando el programa terminó sin guardarlos. El último cambio se hizo el %2.</translation>
    </message>
    <message>
        <source>The file is no longer on disk.</source>
        <translation>El archivo ya no está en el disco.</translation>
    </message>
    <message>
        <source>The file on disk has changed since.</source>
        <translation>El archivo en el disco ha cambiado desde entonces.</translation>
    </message>
    <message>
        <source>Recover the changes?</source>
        <translation>¿Recuperar los cambios?</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 were kept (the last change was made %2), but they cannot be recovered:
%3</source>
        <translation>Se conservaron cambios sin guardar de %1 (el último cambio se hizo el %2), pero no se pueden recuperar:
%3</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Recuperar</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Descartar</translation>
    </message>
    <message>
        <source>PHP syntax check: php not found</source>
        <translation>Comprobación de sintaxis PHP: no se encontró php</translation>
    </message>
</context>
<context>
    <name>kestrin::frmReplace</name>
    <message>
        <source>REPLACE IN MULTIPLE FILES</source>
        <translation>REEMPLAZAR EN VARIOS ARCHIVOS</translation>
    </message>
    <message>
        <source>Select files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Remove the highlighted file from the list</source>
        <translation>Quitar de la lista el archivo resaltado</translation>
    </message>
    <message>
        <source>Add the selected files to the list</source>
        <translation>Añadir a la lista los archivos seleccionados</translation>
    </message>
    <message>
        <source>Files to change</source>
        <translation>Archivos que modificar</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Qué:</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Por:</translation>
    </message>
    <message>
        <source>GO</source>
        <translation>INICIAR</translation>
    </message>
    <message>
        <source>GO: replace in the listed files</source>
        <translation>INICIAR: reemplazar en los archivos de la lista</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Add this text:</source>
        <translation>Añadir texto:</translation>
    </message>
    <message>
        <source>To end of files</source>
        <translation>Al final del archivo</translation>
    </message>
    <message>
        <source>To begining of files</source>
        <translation>Al inicio del archivo</translation>
    </message>
    <message>
        <source>GO: add the text to the listed files</source>
        <translation>INICIAR: añadir el texto a los archivos de la lista</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be opened.</source>
        <translation>No se puede abrir la carpeta «%1».</translation>
    </message>
    <message>
        <source>The drive &quot;%1&quot; is not ready.</source>
        <translation>La unidad «%1» no está lista.</translation>
    </message>
    <message>
        <source>Find:</source>
        <comment>accessible name, any length</comment>
        <translation>Buscar:</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <comment>accessible name, any length</comment>
        <translation>Reemplazar por:</translation>
    </message>
    <message>
        <source>Add this text:</source>
        <comment>accessible name, any length</comment>
        <translation>Añadir este texto:</translation>
    </message>
</context>
</TS>
