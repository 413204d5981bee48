<?php
// Run once at the start of every PHP request of brindle-preview (compiled into the binary): how
// DedeCMS evaluates `function=` and `runphp`, and the DedeCMS helper functions templates call,
// written for Brindle from their observed behaviour. Helpers are declared only if the site has not
// declared them, the way DedeCMS's own helper files guard themselves.

// Raised where DedeCMS would die() with its message as the rest of the page.
final class BrindlePageStopped extends Exception {}

function __brindle_text($value)
{
    // After Assign() DedeCMS turns an array value into the word "array".
    return is_array($value) ? 'array' : (string)$value;
}

// [ok, kind, value-or-message]: the evaluator reads this instead of an uncaught throwable.
function __brindle_call($entry, $a, $b, $c)
{
    try {
        return [true, '', __brindle_text($entry($a, $b, $c))];
    } catch (BrindlePageStopped $e) {
        return [false, 'page stopped', $e->getMessage()];
    } catch (Throwable $e) {
        return [false, get_class($e), $e->getMessage()];
    }
}

// The variable names are DedeCMS's: code in templates may read them.
function __brindle_field_function($functionname, $fieldvalue)
{
    $DedeFieldValue = $fieldvalue;
    $functionname = str_replace('{"', '["', $functionname);
    $functionname = str_replace('"}', '"]', $functionname);
    $functionname = preg_replace('/\'@me\'|"@me"|@me/i', '$DedeFieldValue', $functionname);
    @eval('$DedeFieldValue = ' . $functionname . ';');
    return empty($DedeFieldValue) ? '' : $DedeFieldValue;
}

function __brindle_runphp($phpcode, $DedeMeValue)
{
    global $cfg_disable_funs;
    $phpcode = preg_replace('/\'@me\'|"@me"|@me/i', '$DedeMeValue', $phpcode);
    if (!isset($cfg_disable_funs)) {
        $cfg_disable_funs = 'phpinfo,eval,assert,exec,passthru,shell_exec,system,proc_open,popen,'
            . 'curl_exec,curl_multi_exec,parse_ini_file,show_source,file_put_contents,fsockopen,fopen,fwrite';
    }
    // DedeCMS's own guard: a listed name used as a call ends the page with this message.
    foreach (explode(',', $cfg_disable_funs) as $name) {
        $name = str_replace(' ', '', $name);
        if ($name !== '' && preg_match("#[^a-z]+['\"]*{$name}['\"]*[\\s]*[(]#i", " {$phpcode}")) {
            throw new BrindlePageStopped('DedeCMS提示：当前页面中存在恶意代码！<pre>'
                . dede_htmlspecialchars($phpcode) . '</pre>');
        }
    }
    @eval($phpcode);
    return $DedeMeValue;
}

function __brindle_setup($now, $cli_time, $soft_lang)
{
    $GLOBALS['cfg_cli_time'] = $cli_time;
    $GLOBALS['cfg_soft_lang'] = $soft_lang;
    // DedeCMS names the zone this way; a negative offset gives an unknown name and stays UTC.
    @date_default_timezone_set('Etc/GMT' . ($cli_time * -1));
    $_SERVER['REQUEST_TIME'] = (int)$now;
    mt_srand((int)$now);
}

function __brindle_load_site($file, $unused)
{
    $include = dirname($file);
    define('DEDEINC', $include);
    define('DEDEROOT', dirname($include));
    define('DEDEDATA', DEDEROOT . '/data');
    require_once $file;
    return '';
}

if (!function_exists('MyDate')) {
    // PHP date letters at UTC+cfg_cli_time, whatever the PHP zone.
    function MyDate($format = 'Y-m-d H:i:s', $timest = 0)
    {
        global $cfg_cli_time;
        if (empty($format)) {
            $format = 'Y-m-d H:i:s';
        }
        return gmdate($format, $timest + $cfg_cli_time * 3600);
    }
}

if (!function_exists('GetDateTimeMk')) {
    function GetDateTimeMk($mktime)
    {
        return MyDate('Y-m-d H:i:s', $mktime);
    }
}

if (!function_exists('GetDateMk')) {
    function GetDateMk($mktime)
    {
        return $mktime == '0' ? '暂无' : MyDate('Y-m-d', $mktime);
    }
}

if (!function_exists('SubDay')) {
    function SubDay($ntime, $ctime)
    {
        return ceil(($ntime - $ctime) / 86400);
    }
}

if (!function_exists('AddDay')) {
    function AddDay($ntime, $aday)
    {
        return $ntime + $aday * 86400;
    }
}

if (!function_exists('cn_substr')) {
    // Cuts by bytes of the site's encoding; see the two variants.
    function cn_substr($str, $slen, $startdd = 0)
    {
        global $cfg_soft_lang;
        if ($cfg_soft_lang == 'utf-8') {
            return cn_substr_utf8($str, $slen, $startdd);
        }
        return __brindle_cn_substr_double_byte($str, $slen, $startdd);
    }
}

if (!function_exists('cn_substr_utf8')) {
    // Whole characters are added while the text is shorter than $length plus that character's bytes,
    // so the cut overshoots $length by up to one character. Invalid UTF-8 gives ''.
    function cn_substr_utf8($str, $length, $start = 0)
    {
        if (strlen($str) < $start + 1) {
            return '';
        }
        if (!preg_match_all('/./su', $str, $found)) {
            return '';
        }
        $skipped = '';
        $out = '';
        foreach ($found[0] as $char) {
            if (strlen($skipped) < $start) {
                $skipped .= $char;
            } elseif (strlen($out) < $length + strlen($char)) {
                $out .= $char;
            } else {
                break;
            }
        }
        return $out;
    }
}

// GBK/GB2312 edition: a byte above 0x80 starts a two-byte character. A character is appended one
// step late; the last one only if it still fits within $slen bytes.
function __brindle_cn_substr_double_byte($str, $slen, $startdd)
{
    $total = strlen($str);
    if ($total < $startdd + 1) {
        return '';
    }
    if ($total < $startdd + $slen || $slen == 0) {
        $slen = $total - $startdd;
    }
    $last = $startdd + $slen - 1;
    $out = '';
    $held = '';
    for ($i = 0; $i < $total; $i++) {
        if ($startdd == 0 || $i > $startdd) {
            $out .= $held;
        }
        if (ord($str[$i]) > 0x80) {
            if ($total > $i + 1) {
                $held = $str[$i] . $str[$i + 1];
            }
            $i++;
        } else {
            $held = $str[$i];
        }
        if ($i >= $last) {
            if (strlen($out) + strlen($held) <= $slen) {
                $out .= $held;
            }
            break;
        }
    }
    return $out;
}

if (!function_exists('cn_substrR')) {
    function cn_substrR($str, $slen, $startdd = 0)
    {
        return addslashes(cn_substr(stripslashes($str), $slen, $startdd));
    }
}

if (!function_exists('SpHtml2Text')) {
    // Drops style/script blocks and comments, turns each tag into one space, drops control bytes and
    // &entities;, then squeezes runs of spaces.
    function SpHtml2Text($str)
    {
        global $cfg_soft_lang;
        $str = preg_replace('/<sty(.*)\/style>|<scr(.*)\/script>|<!--(.*)-->/isU', '', $str);
        $text = preg_replace('/<[^>]*>?/s', ' ', $str);
        $text = preg_replace('/[\x00-\x1f]/', '', $text);
        $ideographic_space = $cfg_soft_lang == 'utf-8' ? "\u{3000}" : "\xA1\xA1";
        $text = str_replace($ideographic_space, ' ', $text);
        $text = preg_replace('/&([^;&]*)(;|&)/', '', $text);
        return preg_replace('/[ ]+/s', ' ', $text);
    }
}

if (!function_exists('Html2Text')) {
    function Html2Text($str, $r = 0)
    {
        if ($r == 0) {
            return SpHtml2Text($str);
        }
        return addslashes(SpHtml2Text(stripslashes($str)));
    }
}

if (!function_exists('Text2Html')) {
    function Text2Html($txt)
    {
        $txt = str_replace('  ', '　', $txt);
        $txt = str_replace(['<', '>'], ['&lt;', '&gt;'], $txt);
        return preg_replace("/[\r\n]{1,}/isU", "<br/>\r\n", $txt);
    }
}

if (!function_exists('GetRankStar')) {
    // Filled stars up to $rank, then empty ones up to five in all.
    function GetRankStar($rank)
    {
        $stars = '';
        for ($n = 1; $n <= $rank; $n++) {
            $stars .= '★';
        }
        for (; $n <= 5; $n++) {
            $stars .= '☆';
        }
        return $stars;
    }
}

if (!function_exists('dede_htmlspecialchars')) {
    function dede_htmlspecialchars($str)
    {
        global $cfg_soft_lang;
        if ($cfg_soft_lang == 'gb2312') {
            return htmlspecialchars($str, ENT_QUOTES, 'ISO-8859-1');
        }
        return htmlspecialchars($str, ENT_QUOTES);
    }
}

if (!function_exists('RemoveXSS')) {
    // Removes control bytes (and commas: DedeCMS's character class holds them), decodes numeric
    // entities of printable ASCII, then breaks script-ish words and event names with "<x>" after their
    // second letter, also when entity-encoded tabs or newlines sit between the letters.
    function RemoveXSS($val)
    {
        $val = preg_replace('/([\x00-\x08,\x0b-\x0c,\x0e-\x19])/', '', $val);
        $plain = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!@#$%^&*()~`";:?+/={}[]-_|\'\\';
        foreach (str_split($plain) as $char) {
            $val = preg_replace('/(&#[xX]0{0,8}' . dechex(ord($char)) . ';?)/i', $char, $val);
            $val = preg_replace('/(&#0{0,8}' . ord($char) . ';?)/', $char, $val);
        }
        $words = ['javascript', 'vbscript', 'expression', 'applet', 'meta', 'xml', 'blink', 'link', 'style',
            'script', 'embed', 'object', 'iframe', 'frame', 'frameset', 'ilayer', 'layer', 'bgsound', 'title',
            'base', 'oninput', 'onabort', 'onactivate', 'onafterprint', 'onafterupdate', 'onbeforeactivate',
            'onbeforecopy', 'onbeforecut', 'onbeforedeactivate', 'onbeforeeditfocus', 'onbeforepaste',
            'onbeforeprint', 'onbeforeunload', 'onbeforeupdate', 'onblur', 'onbounce', 'oncellchange',
            'onchange', 'onclick', 'oncontextmenu', 'oncontrolselect', 'oncopy', 'oncut', 'ondataavailable',
            'ondatasetchanged', 'ondatasetcomplete', 'ondblclick', 'ondeactivate', 'ondrag', 'ondragend',
            'ondragenter', 'ondragleave', 'ondragover', 'ondragstart', 'ondrop', 'onerror', 'onerrorupdate',
            'onfilterchange', 'onfinish', 'onfocus', 'onfocusin', 'onfocusout', 'onhelp', 'onkeydown',
            'onkeypress', 'onkeyup', 'onlayoutcomplete', 'onload', 'onlosecapture', 'onmousedown',
            'onmouseenter', 'onmouseleave', 'onmousemove', 'onmouseout', 'onmouseover', 'onmouseup',
            'onmousewheel', 'onmove', 'onmoveend', 'onmovestart', 'onpaste', 'onpropertychange',
            'onreadystatechange', 'onreset', 'onresize', 'onresizeend', 'onresizestart', 'onrowenter',
            'onrowexit', 'onrowsdelete', 'onrowsinserted', 'onscroll', 'onselect', 'onselectionchange',
            'onselectstart', 'onstart', 'onstop', 'onsubmit', 'onunload'];
        $between = '((&#[xX]0{0,8}([9ab]);)||(&#0{0,8}([9|10|13]);))*';
        // A second pass runs only when the first word changed the text on the pass before.
        do {
            $before = $val;
            $again = true;
            foreach ($words as $word) {
                $pattern = '/' . implode($between, str_split($word)) . '/i';
                $val = preg_replace($pattern, substr($word, 0, 2) . '<x>' . substr($word, 2), $val);
                if ($val == $before) {
                    $again = false;
                }
            }
        } while ($again);
        return $val;
    }
}

if (!function_exists('Quote_replace')) {
    function Quote_replace($quote)
    {
        return str_replace(
            ['{quote}', '{title}', '{/title}', '&lt;br/&gt;', '&lt;', '&gt;', '{content}', '{/content}', '{/quote}'],
            ['<div class="decmt-box">', '<div class="decmt-title"><span class="username">', '</span></div>',
                '<br>', '<', '>', '<div class="decmt-content">', '</div>', '</div>'],
            $quote);
    }
}
